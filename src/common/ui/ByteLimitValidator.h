#pragma once
// Refuses input that would not fit a field: more code page 936 bytes than the limit, or a
// character code page 936 cannot write (it would be lost on save).
#include <QValidator>

class QLineEdit;

namespace korvan {

class ByteLimitValidator : public QValidator {
    Q_OBJECT
public:
    ByteLimitValidator(std::size_t limit, QObject* parent);
    State validate(QString& input, int& pos) const override;
    std::size_t limit() const { return limit_; }

    // Puts a validator of `limit` bytes on the box.
    static void apply(QLineEdit* edit, std::size_t limit);

private:
    std::size_t limit_;
};

} // namespace korvan
