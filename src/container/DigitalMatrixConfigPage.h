#pragma once

#include "digitalmatrix_export.h"

#include "DigitalMatrixServerInfo.h"

#include <QWidget>

#include <memory>

namespace COMMONUSELIB {
class PictureHintWidget;
}

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class DigitalMatrixConfigPage;
}

// The host's digital matrix configuration: the X86 control page or the Linux
// configuration page, whichever fits the matrix servers stored, or a picture hint with
// an add button while none is stored.
class DIGITALMATRIX_EXPORT DigitalMatrixConfigPage : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(DigitalMatrixConfigPage)

public:
    explicit DigitalMatrixConfigPage(QWidget *parent = nullptr);
    ~DigitalMatrixConfigPage() override;

signals:
    void signalAddX86DigitalMatrixServerFromPictureHint(const DigitalMatrixServerInfo &server);
    void signalAddLinuxDigitalMatrixServerFromPictureHint(const DigitalMatrixServerInfo &server);

public slots:
    void slotAddServerBtClicked();
    void slotMatrixServerDeleteAll();

protected:
    void changeEvent(QEvent *event) override;

private:
    void init();
    void initPictureHint();
    void showPictureHint();
    void hidePictureHint();
    void showPageByServerTypeAlreadyConfig();

    std::unique_ptr<Ui::DigitalMatrixConfigPage> ui;
    COMMONUSELIB::PictureHintWidget *pictureHint = nullptr;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
