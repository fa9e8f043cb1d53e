// Integer validator for line edits that refuses text which can never become a valid value.
#pragma once

#include "lumohost_export.h"

#include <QIntValidator>

namespace COMMONUSELIB {

// Accepts plain decimal digits with a leading '-' only when bottom < 0. Text is Invalid when
// no digits typed after it can bring it into [bottom, top]: other characters, a '+', a '-'
// when bottom >= 0, leading zeros ("05", "-0"), more digits than the range allows, or a
// value whose every continuation lies outside the range. fixup() changes nothing.
class LUMOHOST_EXPORT IntValidator : public QIntValidator
{
    Q_OBJECT
    Q_DISABLE_COPY(IntValidator)

public:
    IntValidator(int bottom, int top, QObject *parent = nullptr);
    ~IntValidator() override;

    State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;
};

} // namespace COMMONUSELIB
