#include "ByteLimitValidator.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>

namespace korvan {

ByteLimitValidator::ByteLimitValidator(ByteLimit limit, QObject* parent)
    : QValidator(parent), limit_(limit) {}

QValidator::State ByteLimitValidator::validate(QString& input, int&) const {
    if (filling_ || limit_.allows(input.toStdString(), current_.toStdString()))
        return Acceptable;
    return Invalid;
}

void ByteLimitValidator::apply(QLineEdit* edit, std::size_t limit) {
    auto* validator = new ByteLimitValidator(ByteLimit(limit), edit);
    validator->current_ = edit->text();
    QObject::connect(edit, &QLineEdit::textChanged, validator,
                     [validator](const QString& text) { validator->current_ = text; });
    edit->setValidator(validator);
}

ByteLimitValidator* ByteLimitValidator::apply(QPlainTextEdit* box, std::size_t limit) {
    auto* validator = new ByteLimitValidator(ByteLimit(limit, ByteLimit::Lines::Multi), box);
    validator->current_ = box->toPlainText();
    QObject::connect(box, &QPlainTextEdit::textChanged, validator,
                     [validator, box] { validator->onBoxChanged(box); });
    return validator;
}

void ByteLimitValidator::fill(QLineEdit* edit, const QString& text) {
    auto* validator = qobject_cast<ByteLimitValidator*>(const_cast<QValidator*>(edit->validator()));
    if (validator)
        validator->filling_ = true;
    edit->setText(text);
    if (validator)
        validator->filling_ = false;
}

void ByteLimitValidator::fill(QPlainTextEdit* box, const QString& text) {
    auto* validator = box->findChild<ByteLimitValidator*>(QString(), Qt::FindDirectChildrenOnly);
    if (validator) {
        validator->filling_ = true;
        validator->current_ = text;
    }
    box->setPlainText(text);
    if (validator)
        validator->filling_ = false;
}

void ByteLimitValidator::onBoxChanged(QPlainTextEdit* box) {
    if (filling_)
        return;
    const QString now = box->toPlainText();
    if (now == current_)
        return; // a change of format only
    if (limit_.allows(now.toStdString(), current_.toStdString())) {
        current_ = now;
        emit edited(now);
        return;
    }
    // Put the text back as it was, the cursor where the refused input began.
    const auto position = box->textCursor().position() - (now.size() - current_.size());
    filling_ = true;
    box->setPlainText(current_);
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(static_cast<int>(std::clamp<qsizetype>(position, 0, current_.size())));
    box->setTextCursor(cursor);
    filling_ = false;
}

} // namespace korvan
