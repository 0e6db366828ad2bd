#include "ByteLimitValidator.h"

#include <QLineEdit>

#include "common/TextCodec.h"

namespace korvan {

ByteLimitValidator::ByteLimitValidator(std::size_t limit, QObject* parent)
    : QValidator(parent), limit_(limit) {}

QValidator::State ByteLimitValidator::validate(QString& input, int&) const {
    auto length = TextCodec::gbkLength(input.toStdString());
    return length && *length <= limit_ ? Acceptable : Invalid;
}

void ByteLimitValidator::apply(QLineEdit* edit, std::size_t limit) {
    edit->setValidator(new ByteLimitValidator(limit, edit));
}

} // namespace korvan
