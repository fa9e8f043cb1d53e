// The host's first-run hint: a picture of what to set up and an "add server" button.
#pragma once

#include "lumohost_export.h"

#include <QString>
#include <QWidget>

class QPushButton;

namespace COMMONUSELIB {

// Picture type 2 draws a video wall fed by a matrix server (other types draw the same
// picture for now). Picture language 0 writes the hint under the picture in Chinese,
// any other value in English. The button emits both addServerBtClicked() and
// signalAddServerBtClicked().
class LUMOHOST_EXPORT PictureHintWidget : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(PictureHintWidget)

public:
    enum PictureType { DigitalMatrixPicture = 2 };
    enum PictureLanguage { Chinese = 0, English = 1 };

    PictureHintWidget(int pictureType, int pictureLanguage, QWidget *parent = nullptr);
    ~PictureHintWidget() override;

    int pictureType() const { return m_pictureType; }
    int pictureLanguage() const { return m_pictureLanguage; }
    // The hint drawn under the picture.
    QString hintText() const;
    QPushButton *addServerButton() const { return m_addServerBt; }

signals:
    void addServerBtClicked();
    void signalAddServerBtClicked();

public:
    // The language of the picture's hint, Chinese or English.
    void setPictureLanguage(int pictureLanguage);

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect pictureRect() const;
    void placeButton();

    int m_pictureType = DigitalMatrixPicture;
    int m_pictureLanguage = English;
    QPushButton *m_addServerBt = nullptr;
};

} // namespace COMMONUSELIB
