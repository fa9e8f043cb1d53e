#pragma once

#include "digitalmatrix_export.h"

#include "ProcessSingleton.h"

#include <QObject>

namespace LUMO_DIGITALMATRIX_MODULE {

// The module's start-up object: the host calls instance() once before it shows a page,
// which brings up the event hub and then the matrix service port.
class DIGITALMATRIX_EXPORT MatrixModuleConfig : public QObject,
                                                public ProcessSingleton<MatrixModuleConfig>
{
    Q_OBJECT
    Q_DISABLE_COPY(MatrixModuleConfig)

public:
    static MatrixModuleConfig *instance();
    // Deletes this object only; the hub and the port stay.
    static void release();

    // The module installs no translator of its own: its texts go through the
    // translators the host has installed.
    void installMatrixTranslator();

private:
    friend class ProcessSingleton<MatrixModuleConfig>;

    explicit MatrixModuleConfig(QObject *parent = nullptr);
    ~MatrixModuleConfig() override;
    void init();
};

} // namespace LUMO_DIGITALMATRIX_MODULE
