// Shared set-up of the tests of the Linux page (and of the page container) against the
// recording service: a data centre and settings in a temporary folder (with a site from
// tests/data when asked), the fake service, stored servers, and the page shown and
// connected to a wall the fake holds.
#pragma once

#include "FakeMatrixService.h"
#include "LinuxDigitalMatrixPage.h"
#include "MatrixServiceTypes.h"

#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class QPushButton;
class QTemporaryDir;
class QWidget;

namespace LUMO_DIGITALMATRIX_MODULE {
class AreaTreeForMatrixConfig;
class ConfigChannelsWidget;
class DigitalMatrixServerOperWidget;
} // namespace LUMO_DIGITALMATRIX_MODULE

// The children of a Linux page, found by object name.
class LinuxPageChildren
{
public:
    virtual ~LinuxPageChildren() = default;

    template<typename T>
    T *child(const char *name) const
    {
        return pageWidget()->findChild<T *>(QLatin1String(name));
    }
    QPushButton *button(const char *name) const;
    LUMO_DIGITALMATRIX_MODULE::DigitalMatrixServerOperWidget *oper() const;
    LUMO_DIGITALMATRIX_MODULE::ConfigChannelsWidget *grid() const;
    LUMO_DIGITALMATRIX_MODULE::AreaTreeForMatrixConfig *tree() const;

protected:
    virtual QWidget *pageWidget() const = 0;
};

// Checks inside the helpers use QTest macros: a caller stops when QTest::currentTestFailed().
class LinuxPageHarness : public LinuxPageChildren
{
public:
    LinuxPageHarness();
    ~LinuxPageHarness();
    LinuxPageHarness(const LinuxPageHarness &) = delete;
    LinuxPageHarness &operator=(const LinuxPageHarness &) = delete;

    // Data centre (with tests/data/<site> when given), settings file and the recording service.
    void start(const QString &site = QString());
    // Page, service, data centre, in that order.
    void stop();

    // Stores a server and lets the data centre's announcement go by; gives back its key.
    static QString storeServer(const QString &name, const QString &ip, int type = 6,
                               int port = 6000, const QString &password = QStringLiteral("secret"));
    // Clicks opener and answers the rows-and-columns dialog it opens with rows x columns, or
    // declines it when rows is empty; gives back what the dialog offered ("2 x 2 Next"), empty
    // when no dialog opened.
    static QString answerRowColumn(QPushButton *opener, const QString &rows,
                                   const QString &columns);
    // Clicks opener ("Upgrade") and fills the upgrade dialog: type, URL, "Save".
    static void runUpgrade(QPushButton *opener, int typeIndex, const QString &url);
    // A right click on widget (a pane: its cell opens its menu, which the caller hides).
    static void rightClick(QWidget *widget);
    // A rows x columns grid of whole screens, as the matrix reports it.
    static std::vector<ScreenRegionEntry> grid(int rows, int columns);

    // Builds and shows the page (once).
    LUMO_DIGITALMATRIX_MODULE::LinuxDigitalMatrixPage *makePage();
    // Shows the page and connects the first server to a rows x columns wall of single-pane
    // cells, each turn show stopped at 30 s; the call log starts empty afterwards.
    void openConnected(int rows = 2, int columns = 2);

    LUMO_DIGITALMATRIX_MODULE::ConfigChannelsWidget *cells() const
    {
        return LinuxPageChildren::grid();
    }
    FakeBaseMatrix *base() const { return service->base(); }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeMatrixService> service;
    std::unique_ptr<LUMO_DIGITALMATRIX_MODULE::LinuxDigitalMatrixPage> page;

protected:
    QWidget *pageWidget() const override { return page.get(); }
};
