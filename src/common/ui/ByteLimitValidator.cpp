#include "ByteLimitValidator.h"

#include <QLineEdit>

#include "common/TextCodec.h"

namespace korvan {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

struct Measure {
    std::size_t bytes = 0; // as written in code page 936; a replacement character is the
                           // one undecodable byte it stands for
    int unwritable = 0;    // characters code page 936 cannot write, other than U+FFFD
    int replacements = 0;  // U+FFFD: bytes from the file that were not valid GBK
};

Measure measure(const QString& text) {
    Measure m;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QChar(kReplacement)) {
            ++m.bytes;
            ++m.replacements;
            continue;
        }
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const auto length = TextCodec::gbkLength(text.mid(i, n).toStdString());
        if (length) {
            m.bytes += *length;
        } else {
            m.bytes += 4;
            ++m.unwritable;
        }
        i += n - 1;
    }
    return m;
}

} // namespace

ByteLimitValidator::ByteLimitValidator(std::size_t limit, QObject* parent)
    : QValidator(parent), limit_(limit) {}

QValidator::State ByteLimitValidator::validate(QString& input, int&) const {
    if (filling_)
        return Acceptable;
    const Measure next = measure(input);
    if (next.unwritable > 0)
        return Invalid;
    if (next.replacements == 0 && next.bytes <= limit_)
        return Acceptable;
    // Over the limit or still holding undecodable bytes: only an edit that shortens the text and
    // brings no new undecodable character is taken.
    const Measure now = measure(current_);
    if (next.bytes < now.bytes && next.replacements <= now.replacements)
        return Acceptable;
    return Invalid;
}

void ByteLimitValidator::fill(QLineEdit* edit, const QString& text) {
    auto* validator = qobject_cast<ByteLimitValidator*>(const_cast<QValidator*>(edit->validator()));
    if (validator)
        validator->filling_ = true;
    edit->setText(text);
    if (validator)
        validator->filling_ = false;
}

void ByteLimitValidator::apply(QLineEdit* edit, std::size_t limit) {
    auto* validator = new ByteLimitValidator(limit, edit);
    validator->setCurrent(edit->text());
    QObject::connect(edit, &QLineEdit::textChanged, validator, &ByteLimitValidator::setCurrent);
    edit->setValidator(validator);
}

} // namespace korvan
