// The host's IPv4 address editor: four fields of 0..255 separated by dots.
#pragma once

#include "lumohost_export.h"

#include <QFrame>
#include <QString>

class QLineEdit;

namespace COMMONUSELIB {

// Typing "." (or a space) moves to the next field, and so does a complete octet (three
// digits, or a value to which no further digit can be added); a "." typed right after such
// a move stays in the field it moved to. Backspace or Left at the
// start of a field moves to the end of the previous one, Right at the end of a field to
// the start of the next one. Pasting a whole address into any field fills all four.
// Leading zeros cannot be typed.
class LUMOHOST_EXPORT IpAddressFrame : public QFrame
{
    Q_OBJECT
    Q_DISABLE_COPY(IpAddressFrame)

public:
    explicit IpAddressFrame(QWidget *parent = nullptr);
    ~IpAddressFrame() override;

    // The address as dotted text ("192.168.1.10"), or an empty text while any field
    // is empty: a partly typed address is no address.
    QString getIp() const;
    // Fills the four fields from dotted text. Text that is not a complete IPv4 address
    // (four decimal numbers of 0..255, one to three digits each, nothing else; an empty
    // text included) clears all fields.
    void setIp(const QString &ip);
    void clear();
    bool isEmpty() const { return getIp().isEmpty(); }
    void setReadOnly(bool readOnly);

    // True for a complete dotted IPv4 address as setIp accepts it.
    static bool isValidIp(const QString &ip);

    // The field of octet 0..3 (object names "ipField0" .. "ipField3").
    QLineEdit *field(int index) const;

signals:
    // The value of getIp() changed (it is empty while the address is incomplete).
    void ipChanged(const QString &ip);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void slotFieldEdited(int index, const QString &text);
    void updateIp();
    void focusField(int index, bool atEnd);

    QLineEdit *m_fields[4] = {};
    QString m_lastIp;
    // The field the last complete octet moved the focus to (-1: none, or a key came since).
    int m_autoAdvancedTo = -1;
    bool m_filling = false;
};

} // namespace COMMONUSELIB
