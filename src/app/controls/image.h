// The image control: shows its picture unscaled from its top-left corner,
// reports the mouse in picture coordinates and shows a cursor by number.
#pragma once

#include "area_scaling.h"
#include "events.h"
#include "surface.h"

#include <QList>
#include <QRgb>
#include <QWidget>

#include <cstdint>
#include <vector>

class QPainter;
class QRegion;

class TImage : public QWidget {
public:
    explicit TImage(QWidget* parent);

    const TPicture& Picture() const { return picture; }
    // The picture's canvas; a control with no picture first gets a new one
    // of its own size.
    TCanvas& Canvas();
    // Replaces the whole picture (size, format and pixels) with a copy.
    void Assign(const TPicture& other);
    void Assign(TPicture&& other); // the same, when the other picture is not needed after

    int cursorNumber() const { return cursor; }
    void setCursorNumber(int number);

    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void repaintRect(const TRect& rect);
    void paintUnscaled(QPainter& painter, const QRegion& dirty);
    void paintScaled(QPainter& painter, const QRegion& dirty);
    void pictureReplaced();
    void releaseLostButtons(QMouseEvent* event);

    TPicture picture;
    TCanvas canvas{picture};
    QList<QRgb> shownTable; // an 8-bit picture's table as Qt shows it; set when the picture is replaced
    // Kept between repaints at a scale: one picture row in Qt's form, a
    // band of screen pixels bandRows high, and where each of the control's
    // screen columns and rows takes its colour from, while the picture's
    // size and place on the screen stay.
    static constexpr int bandRows = 32;
    std::vector<std::uint32_t> pictureColours;
    std::vector<std::uint32_t> bandColours;
    struct ScreenPlace {
        double originX = 0, originY = 0; // exactly: QPointF compares within a tolerance
        double scale = 0;
        QRect area;
        int width = 0, height = 0;
        bool operator==(const ScreenPlace&) const = default;
    };
    ScreenPlace samplesPlace;
    std::vector<AreaSample> columnSamples, rowSamples;
    int cursor = 0;
    Qt::MouseButtons buttonsDown; // pressed on the picture and not yet released
};
