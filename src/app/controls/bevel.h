// A separator: a lowered line along the bottom of its box.
#pragma once

#include <QWidget>

class TBevel : public QWidget {
public:
    explicit TBevel(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
