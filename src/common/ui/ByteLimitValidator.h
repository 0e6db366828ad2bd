#pragma once
// Refuses input that would not fit a field: more code page 936 bytes than the limit, or a
// character code page 936 cannot write (it would be lost on save).
//
// A box the program filled from a file may already hold more than that: a longer text, or bytes
// that are not valid GBK (shown as U+FFFD). Such a box can always be shortened, but typing that
// keeps it over the limit or adds a character that cannot be written is refused. The program
// fills such boxes through fill(): a box refuses nothing the program puts there, and a line edit
// would stop checking the operator's typing after a text its validator refused.
#include <QString>
#include <QValidator>

class QLineEdit;

namespace korvan {

class ByteLimitValidator : public QValidator {
    Q_OBJECT
public:
    ByteLimitValidator(std::size_t limit, QObject* parent);
    State validate(QString& input, int& pos) const override;
    std::size_t limit() const { return limit_; }

    // Puts a validator of `limit` bytes on the box; it follows the box's text to tell typing
    // from shortening.
    static void apply(QLineEdit* edit, std::size_t limit);

    // Fills the box from the program's data (never counts as the operator's edit).
    static void fill(QLineEdit* edit, const QString& text);

    // The text the box holds now (before the edit being validated).
    void setCurrent(const QString& text) { current_ = text; }

private:
    std::size_t limit_;
    QString current_;
    bool filling_ = false;
};

} // namespace korvan
