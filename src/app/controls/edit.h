// A single-line edit box that shows each typed character to a key-press
// handler before it takes it; Enter comes as the carriage return.
#pragma once

#include <QChar>
#include <QLineEdit>

#include <functional>

class TEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

    std::function<void(QChar& key)> OnKeyPress;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
