// A panel that paints its own colour, with an optional raised one-pixel
// bevel and a centred caption.
#pragma once

#include <QColor>
#include <QWidget>

class TPanel : public QWidget {
public:
    TPanel(QWidget* parent, const QColor& colour, bool raisedBevel);

    void setCaption(const QString& text, const QFont& font, const QColor& textColour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour;
    bool raised;
    QString caption;
    QColor captionColour;
};
