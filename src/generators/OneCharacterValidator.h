#pragma once
#include <QValidator>

// Lets a box hold at most one character as the user sees it: an accented
// letter, a CJK ideograph or an emoji (two UTF-16 units, or more with
// modifiers) is one. A box limited by length in UTF-16 units would refuse an
// emoji or keep half of it.
class OneCharacterValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
