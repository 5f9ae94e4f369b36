// The maker's header fields (title, author, description) take only what a header line can hold.
#pragma once

#include <QValidator>

namespace keyrook {

class MakerFieldValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override;
};

}  // namespace keyrook
