#include "problemsets/ui/maker_field_validator.h"

#include "problemsets/maker_engine.h"
#include "widgets/qt_services.h"

namespace keyrook {

QValidator::State MakerFieldValidator::validate(QString& input, int&) const {
    return makerFieldText(us(input)) ? Acceptable : Invalid;
}

}  // namespace keyrook
