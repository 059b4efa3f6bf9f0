// The drawings of every symbol the interface names, on a 24 x 24 grid. Outlined symbols
// use lines about 1.8 units wide; ".fill" symbols are solid shapes with their figure cut
// out; ".badge" symbols cut a round gap into the base shape and put the badge in it.
#include <QPainter>
#include <QTransform>
#include <QtMath>
#include <initializer_list>

#include "ui/symbols/SymbolCanvas.h"

namespace tallowmere {
namespace {

constexpr double kLine = 1.8;

// ---- Path helpers -----------------------------------------------------------------------

QPainterPath circle(double cx, double cy, double r) {
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), r, r);
    return path;
}

QPainterPath line(double x1, double y1, double x2, double y2) {
    QPainterPath path(QPointF(x1, y1));
    path.lineTo(x2, y2);
    return path;
}

QPainterPath polyline(std::initializer_list<QPointF> points, bool closed = false) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& point : points) {
        if (first) {
            path.moveTo(point);
            first = false;
        } else {
            path.lineTo(point);
        }
    }
    if (closed)
        path.closeSubpath();
    return path;
}

QPainterPath rounded(double x, double y, double w, double h, double r) {
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), r, r);
    return path;
}

QPainterPath unite(std::initializer_list<QPainterPath> parts) {
    QPainterPath path;
    for (const QPainterPath& part : parts) path.addPath(part);
    return path;
}

// Angles in degrees, counter-clockwise from three o'clock; a negative sweep runs clockwise.
QPointF pointOnCircle(QPointF centre, double r, double degrees) {
    const double radians = qDegreesToRadians(degrees);
    return {centre.x() + r * std::cos(radians), centre.y() - r * std::sin(radians)};
}

QPainterPath arc(QPointF centre, double r, double startDegrees, double sweepDegrees) {
    const QRectF box(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
    QPainterPath path;
    path.arcMoveTo(box, startDegrees);
    path.arcTo(box, startDegrees, sweepDegrees);
    return path;
}

// A solid arrowhead whose base is centred on `base`, pointing along `direction`.
QPainterPath arrowHead(QPointF base, QPointF direction, double size) {
    const QPointF across(-direction.y(), direction.x());
    return polyline(
        {base + direction * size, base + across * size * 0.85, base - across * size * 0.85}, true);
}

// An arc with an arrowhead at its end, pointing the way the arc runs.
Mark arcArrow(QPointF centre, double r, double startDegrees, double sweepDegrees, double width,
              double head) {
    Mark mark;
    mark.lines = arc(centre, r, startDegrees, sweepDegrees);
    mark.width = width;
    const double end = qDegreesToRadians(startDegrees + sweepDegrees);
    const QPointF endPoint = pointOnCircle(centre, r, startDegrees + sweepDegrees);
    const QPointF travel = sweepDegrees < 0 ? QPointF(std::sin(end), std::cos(end))
                                            : QPointF(-std::sin(end), -std::cos(end));
    mark.solids = arrowHead(endPoint, travel, head);
    return mark;
}

// ---- Marks, designed around (12, 12) to sit inside a circle ---------------------------

Mark checkMark() {
    return {polyline({{7.6, 12.4}, {10.7, 15.4}, {16.4, 8.9}}), 2.2, {}};
}

Mark crossMark() {
    return {unite({line(8.4, 8.4, 15.6, 15.6), line(15.6, 8.4, 8.4, 15.6)}), 2.2, {}};
}

Mark minusMark() {
    return {line(7.4, 12, 16.6, 12), 2.3, {}};
}

Mark plusMark() {
    return {unite({line(12, 7.4, 12, 16.6), line(7.4, 12, 16.6, 12)}), 2.2, {}};
}

Mark exclamationMark() {
    return {line(12, 6.6, 12, 13.0), 2.4, circle(12, 17.0, 1.45)};
}

Mark questionMark() {
    QPainterPath hook(QPointF(9.0, 9.5));
    hook.cubicTo(9.0, 7.6, 10.4, 6.3, 12.1, 6.3);
    hook.cubicTo(13.9, 6.3, 15.1, 7.5, 15.1, 9.1);
    hook.cubicTo(15.1, 10.6, 14.1, 11.3, 13.1, 11.9);
    hook.cubicTo(12.4, 12.4, 12.0, 12.9, 12.0, 13.9);
    return {hook, 2.2, circle(12, 17.4, 1.4)};
}

Mark numberMark() {
    return {unite({line(10.7, 6.8, 9.4, 17.2), line(14.6, 6.8, 13.3, 17.2),
                   line(7.3, 10.2, 16.9, 10.2), line(7.1, 13.8, 16.7, 13.8)}),
            1.7,
            {}};
}

Mark pauseMark() {
    return {{}, 0, unite({rounded(8.2, 7.2, 2.9, 9.6, 0.9), rounded(12.9, 7.2, 2.9, 9.6, 0.9)})};
}

Mark arrowDownMark() {
    return {unite({line(12, 6.6, 12, 16.6), polyline({{8.1, 12.7}, {12, 16.6}, {15.9, 12.7}})}),
            2.2,
            {}};
}

Mark arrowUpMark() {
    return {unite({line(12, 17.4, 12, 7.4), polyline({{8.1, 11.3}, {12, 7.4}, {15.9, 11.3}})}),
            2.2,
            {}};
}

// Two arcs chasing each other round the centre.
Mark circlePathMark(QPointF centre, double r, double width, double head) {
    const Mark upper = arcArrow(centre, r, 170, -120, width, head);
    const Mark lower = arcArrow(centre, r, -10, -120, width, head);
    return {unite({upper.lines, lower.lines}), width, unite({upper.solids, lower.solids})};
}

// A figure inside a circle: outlined, or cut out of a solid disc.
void circled(SymbolCanvas& canvas, const Mark& mark, bool filled) {
    if (filled) {
        canvas.fill(circle(12, 12, 10.2));
        canvas.erase(mark);
    } else {
        canvas.stroke(circle(12, 12, 9.6), kLine);
        Mark thinner = mark;
        thinner.width = mark.width * 0.9;
        canvas.draw(thinner.placed(0.92, {12, 12}));
    }
}

// A round badge at the lower right: a gap around it, then the badge itself.
void badgeGap(SymbolCanvas& canvas, QPointF centre, double radius) {
    canvas.eraseFill(circle(centre.x(), centre.y(), radius + 1.3));
}

void exclamationBadge(SymbolCanvas& canvas, QPointF centre) {
    badgeGap(canvas, centre, 4.9);
    canvas.fill(circle(centre.x(), centre.y(), 4.9));
    canvas.erase(exclamationMark().placed(0.58, centre));
}

// ---- Shapes ---------------------------------------------------------------------------

QPainterPath shield() {
    QPainterPath path(QPointF(12, 2.2));
    path.lineTo(19.6, 5.1);
    path.cubicTo(19.8, 12.6, 17.2, 18.2, 12, 21.7);
    path.cubicTo(6.8, 18.2, 4.2, 12.6, 4.4, 5.1);
    path.closeSubpath();
    return path;
}

Mark shieldCheck() {
    return {polyline({{8.5, 11.9}, {11.0, 14.4}, {15.7, 9.0}}), 2.1, {}};
}

// A padlock filling the grid; the keyhole is cut separately.
Mark padlock() {
    QPainterPath shackle(QPointF(7.8, 11));
    shackle.lineTo(7.8, 7.6);
    shackle.arcTo(QRectF(7.8, 3.4, 8.4, 8.4), 180, -180);
    shackle.lineTo(16.2, 11);
    return {shackle, 2.1, rounded(5.0, 10.4, 14.0, 11.0, 2.2)};
}

Mark keyhole() {
    return {line(12, 15.2, 12, 18.0), 1.5, circle(12, 14.9, 1.6)};
}

QPainterPath triangle() {
    return polyline({{12, 3.3}, {21.3, 19.6}, {2.7, 19.6}}, true);
}

QPainterPath octagon() {
    QPainterPath path;
    for (int i = 0; i < 8; ++i) {
        const QPointF point = pointOnCircle({12, 12}, 10.4, 22.5 + 45.0 * i);
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

QPainterPath cloud() {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addRoundedRect(QRectF(2.6, 11.6, 18.8, 7.8), 3.9, 3.9);
    path.addEllipse(QPointF(8.1, 13.3), 4.3, 4.3);
    path.addEllipse(QPointF(13.4, 10.6), 5.6, 5.6);
    path.addEllipse(QPointF(17.6, 14.2), 3.9, 3.9);
    return path.simplified();
}

QPainterPath driveBody(double cornerRadius) {
    return rounded(2.6, 6.2, 18.8, 11.6, cornerRadius);
}

QPainterPath folder() {
    QPainterPath path(QPointF(2.6, 7.2));
    path.quadTo(2.6, 4.8, 5.0, 4.8);
    path.lineTo(8.8, 4.8);
    path.quadTo(9.8, 4.8, 10.5, 5.6);
    path.lineTo(11.6, 6.9);
    path.lineTo(19.0, 6.9);
    path.quadTo(21.4, 6.9, 21.4, 9.3);
    path.lineTo(21.4, 17.3);
    path.quadTo(21.4, 19.7, 19.0, 19.7);
    path.lineTo(5.0, 19.7);
    path.quadTo(2.6, 19.7, 2.6, 17.3);
    path.closeSubpath();
    return path;
}

// A sheet with its top right corner folded; `fold` is the folded edge's length.
QPainterPath document(const QRectF& r, double fold) {
    const double c = 2.0;
    QPainterPath path(QPointF(r.left() + c, r.top()));
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom() - c);
    path.quadTo(r.right(), r.bottom(), r.right() - c, r.bottom());
    path.lineTo(r.left() + c, r.bottom());
    path.quadTo(r.left(), r.bottom(), r.left(), r.bottom() - c);
    path.lineTo(r.left(), r.top() + c);
    path.quadTo(r.left(), r.top(), r.left() + c, r.top());
    path.closeSubpath();
    return path;
}

QPainterPath documentFold(const QRectF& r, double fold) {
    return polyline({{r.right() - fold, r.top()},
                     {r.right() - fold, r.top() + fold - 1.0},
                     {r.right() - fold + 1.0, r.top() + fold},
                     {r.right(), r.top() + fold}});
}

const QRectF kSheet(5.0, 2.6, 14.0, 18.8);

void documentOutline(SymbolCanvas& canvas) {
    canvas.stroke(document(kSheet, 5.0), kLine);
    canvas.stroke(documentFold(kSheet, 5.0), 1.5);
}

QPainterPath gear(QPointF centre, double outer, double inner) {
    QPainterPath path;
    constexpr int kTeeth = 8;
    bool first = true;
    for (int i = 0; i < kTeeth; ++i) {
        const double a = 360.0 * i / kTeeth;
        for (const auto& [offset, r] : {std::pair{-14.0, inner}, std::pair{-8.0, outer},
                                        std::pair{8.0, outer}, std::pair{14.0, inner}}) {
            const QPointF point = pointOnCircle(centre, r, a + offset);
            if (first) {
                path.moveTo(point);
                first = false;
            } else {
                path.lineTo(point);
            }
        }
    }
    path.closeSubpath();
    return path;
}

// Twelve rounded lobes, like a wax seal or a rosette.
QPainterPath seal() {
    const QPointF centre(12, 12);
    QPainterPath path(pointOnCircle(centre, 8.9, 0));
    for (int i = 0; i < 12; ++i) {
        path.quadTo(pointOnCircle(centre, 11.4, 30.0 * i + 15),
                    pointOnCircle(centre, 8.9, 30.0 * (i + 1)));
    }
    path.closeSubpath();
    return path;
}

// A photograph: a frame with a mountain and a sun.
void photo(SymbolCanvas& canvas, const QRectF& r) {
    canvas.stroke(rounded(r.x(), r.y(), r.width(), r.height(), 2.4), kLine);
    const double x = r.x(), y = r.y(), w = r.width(), h = r.height();
    canvas.fill(polyline({{x + 0.14 * w, y + 0.80 * h},
                          {x + 0.38 * w, y + 0.50 * h},
                          {x + 0.56 * w, y + 0.69 * h},
                          {x + 0.69 * w, y + 0.58 * h},
                          {x + 0.86 * w, y + 0.80 * h}},
                         true));
    canvas.fill(circle(x + 0.70 * w, y + 0.30 * h, 0.11 * h));
}

// A photograph in front of another frame.
void photoOnFrame(SymbolCanvas& canvas, const QPainterPath& back, const QRectF& front) {
    canvas.stroke(back, kLine);
    canvas.eraseFill(
        rounded(front.x() - 1.6, front.y() - 1.6, front.width() + 3.2, front.height() + 3.2, 3.6));
    photo(canvas, front);
}

// ---- The drawings ---------------------------------------------------------------------

void drawArrowClockwise(SymbolCanvas& c) {
    c.draw(arcArrow({12, 13.0}, 7.8, 15, -285, 2.2, 4.2));
}

void drawArrowCounterclockwiseCircle(SymbolCanvas& c) {
    c.stroke(circle(12, 12, 9.6), kLine);
    c.draw(arcArrow({12, 12.7}, 5.0, 150, 300, 1.9, 2.9));
}

void drawArrowDownCircle(SymbolCanvas& c) {
    circled(c, arrowDownMark(), false);
}
void drawArrowDownCircleFill(SymbolCanvas& c) {
    circled(c, arrowDownMark(), true);
}
void drawArrowUpCircleFill(SymbolCanvas& c) {
    circled(c, arrowUpMark(), true);
}

void drawArrowRight(SymbolCanvas& c) {
    c.stroke(unite({line(3.8, 12, 19.6, 12), polyline({{13.6, 6.2}, {19.6, 12}, {13.6, 17.8}})}),
             2.1);
}

void drawChevronDown(SymbolCanvas& c) {
    c.stroke(polyline({{5.5, 8.8}, {12, 15.2}, {18.5, 8.8}}), 2.2);
}

void drawChevronRight(SymbolCanvas& c) {
    c.stroke(polyline({{8.8, 5.5}, {15.2, 12}, {8.8, 18.5}}), 2.2);
}

void drawCirclePath(SymbolCanvas& c) {
    c.draw(circlePathMark({12, 12}, 7.6, 2.0, 3.4));
}

void drawCirclePathCircleFill(SymbolCanvas& c) {
    c.fill(circle(12, 12, 10.2));
    c.erase(circlePathMark({12, 12}, 5.5, 1.9, 2.7));
}

void drawCalendarBadgeExclamation(SymbolCanvas& c) {
    c.stroke(rounded(2.6, 4.6, 16.4, 15.4, 2.4), kLine);
    c.stroke(line(2.6, 8.8, 19.0, 8.8), 1.5);
    c.stroke(unite({line(6.6, 2.6, 6.6, 6.0), line(15.0, 2.6, 15.0, 6.0)}), kLine);
    for (const QPointF& dot : {QPointF(6.6, 12.3), QPointF(9.8, 12.3), QPointF(13.0, 12.3),
                               QPointF(6.6, 15.6), QPointF(9.8, 15.6)}) {
        c.fill(circle(dot.x(), dot.y(), 0.9));
    }
    exclamationBadge(c, {18.4, 17.8});
}

void drawCheckmarkCircle(SymbolCanvas& c) {
    circled(c, checkMark(), false);
}
void drawCheckmarkCircleFill(SymbolCanvas& c) {
    circled(c, checkMark(), true);
}

void drawCheckmarkSeal(SymbolCanvas& c) {
    c.stroke(seal(), 1.6);
    c.draw(checkMark().placed(0.85, {12, 12}));
}

void drawCheckmarkSealFill(SymbolCanvas& c) {
    c.fill(seal());
    c.erase(checkMark().placed(0.9, {12, 12}));
}

void drawCheckmarkShield(SymbolCanvas& c) {
    c.stroke(shield(), kLine);
    c.draw(shieldCheck());
}

void drawCheckmarkShieldFill(SymbolCanvas& c) {
    c.fill(shield());
    c.erase(shieldCheck());
}

void drawClock(SymbolCanvas& c) {
    c.stroke(circle(12, 12, 9.6), kLine);
    c.stroke(polyline({{12, 6.6}, {12, 12}, {15.8, 14.4}}), 1.9);
}

void drawClockBadgeExclamationFill(SymbolCanvas& c) {
    c.fill(circle(11, 11, 9.3));
    c.eraseStroke(polyline({{11, 5.8}, {11, 11}, {14.6, 13.2}}), 2.0);
    exclamationBadge(c, {18.6, 18.6});
}

void drawDocBadgeGearshape(SymbolCanvas& c) {
    documentOutline(c);
    c.stroke(unite({line(8.4, 11.6, 15.6, 11.6), line(8.4, 14.6, 11.6, 14.6)}), 1.5);
    badgeGap(c, {17.4, 17.4}, 5.0);
    c.fill(gear({17.4, 17.4}, 5.0, 3.9));
    c.eraseFill(circle(17.4, 17.4, 1.7));
}

void drawDocOnDocFill(SymbolCanvas& c) {
    const QRectF back(8.6, 2.4, 12.0, 15.4);
    const QRectF front(3.4, 6.4, 12.0, 15.4);
    c.fill(document(back, 4.0));
    c.eraseFill(document(front, 4.0));
    c.eraseStroke(document(front, 4.0), 3.2);
    c.fill(document(front, 4.0));
    c.eraseStroke(documentFold(front, 4.0), 1.2);
    c.eraseStroke(documentFold(back, 4.0), 1.2);
}

void drawDocText(SymbolCanvas& c) {
    documentOutline(c);
    c.stroke(unite({line(8.4, 11.6, 15.6, 11.6), line(8.4, 14.6, 15.6, 14.6),
                    line(8.4, 17.6, 12.8, 17.6)}),
             1.5);
}

void drawDocTextMagnifyingglass(SymbolCanvas& c) {
    drawDocText(c);
    c.eraseFill(circle(16.4, 16.4, 6.4));
    c.stroke(circle(15.6, 15.6, 3.4), kLine);
    c.stroke(line(18.2, 18.2, 21.3, 21.3), 2.3);
}

void drawExclamationTriangle(SymbolCanvas& c) {
    c.stroke(triangle(), kLine);
    c.draw(exclamationMark().placed(0.8, {12, 13.0}));
}

void drawExclamationTriangleFill(SymbolCanvas& c) {
    c.fill(triangle());
    c.stroke(triangle(), 2.0);  // rounds the corners
    c.erase(exclamationMark().placed(0.82, {12, 13.1}));
}

void drawExternaldrive(SymbolCanvas& c) {
    c.stroke(driveBody(2.8), kLine);
    c.stroke(line(2.6, 13.2, 21.4, 13.2), 1.5);
    c.fill(circle(17.8, 15.5, 1.0));
}

void drawExternaldriveFill(SymbolCanvas& c) {
    c.fill(driveBody(2.8));
    c.eraseStroke(line(2.6, 13.2, 21.4, 13.2), 1.3);
    c.eraseFill(circle(17.8, 15.6, 1.1));
}

void drawFolder(SymbolCanvas& c) {
    c.stroke(folder(), kLine);
    c.stroke(line(2.6, 9.6, 21.4, 9.6), 1.5);
}

void drawFolderBadgePlus(SymbolCanvas& c) {
    drawFolder(c);
    badgeGap(c, {18.2, 17.6}, 4.4);
    c.draw(plusMark().placed(0.85, {18.2, 17.6}));
}

void drawGaugeNeedleBottom50(SymbolCanvas& c) {
    c.stroke(circle(12, 12, 9.6), kLine);
    for (int i = 0; i <= 6; ++i) {
        const QPointF dot = pointOnCircle({12, 12.4}, 6.4, 180.0 - 30.0 * i);
        if (i != 3)
            c.fill(circle(dot.x(), dot.y(), 0.95));
    }
    c.stroke(line(12, 15.8, 12, 6.8), 2.0);
    c.fill(circle(12, 15.8, 2.0));
}

void drawGearshape(SymbolCanvas& c) {
    c.stroke(gear({12, 12}, 10.0, 7.8), 1.6);
    c.stroke(circle(12, 12, 3.1), 1.7);
}

void drawIcloud(SymbolCanvas& c) {
    c.stroke(cloud(), kLine);
}
void drawIcloudFill(SymbolCanvas& c) {
    c.fill(cloud());
}

void drawIcloudAndArrowDown(SymbolCanvas& c) {
    c.stroke(cloud(), kLine);
    c.stroke(unite({line(12, 10.2, 12, 16.2), polyline({{9.5, 13.8}, {12, 16.3}, {14.5, 13.8}})}),
             1.8);
}

void drawInternaldrive(SymbolCanvas& c) {
    c.stroke(driveBody(1.4), kLine);
    for (const QPointF& screw :
         {QPointF(5.4, 9.0), QPointF(18.6, 9.0), QPointF(5.4, 15.0), QPointF(18.6, 15.0)}) {
        c.fill(circle(screw.x(), screw.y(), 0.85));
    }
    c.stroke(line(8.6, 15.0, 15.4, 15.0), 1.5);
}

void drawLockFill(SymbolCanvas& c) {
    c.draw(padlock());
    c.erase(keyhole());
}

void drawLockShield(SymbolCanvas& c) {
    c.stroke(shield(), kLine);
    c.draw(padlock().placed(0.5, {12, 11.6}));
}

void drawLockShieldFill(SymbolCanvas& c) {
    c.fill(shield());
    c.erase(padlock().placed(0.52, {12, 11.4}));
}

void drawMacwindow(SymbolCanvas& c) {
    c.stroke(rounded(2.6, 4.2, 18.8, 15.6, 2.6), kLine);
    c.stroke(line(2.6, 8.6, 21.4, 8.6), 1.5);
    for (const double x : {5.5, 7.9, 10.3}) c.fill(circle(x, 6.4, 0.85));
}

void drawMinusCircle(SymbolCanvas& c) {
    circled(c, minusMark(), false);
}
void drawMinusCircleFill(SymbolCanvas& c) {
    circled(c, minusMark(), true);
}
void drawNumberCircleFill(SymbolCanvas& c) {
    circled(c, numberMark(), true);
}

void drawPauseCircleFill(SymbolCanvas& c) {
    circled(c, pauseMark(), true);
}

void drawPauseFill(SymbolCanvas& c) {
    c.fill(unite({rounded(5.6, 4.4, 4.8, 15.2, 1.3), rounded(13.6, 4.4, 4.8, 15.2, 1.3)}));
}

void drawPhotoOnRectangle(SymbolCanvas& c) {
    photoOnFrame(c, rounded(7.0, 3.2, 14.6, 11.2, 2.2), QRectF(2.6, 8.0, 15.2, 12.2));
}

void drawPhotoOnRectangleAngled(SymbolCanvas& c) {
    const QTransform tilt = QTransform().translate(14.2, 8.6).rotate(-12).translate(-14.2, -8.6);
    photoOnFrame(c, tilt.map(rounded(7.2, 3.4, 14.2, 10.6, 2.2)), QRectF(2.6, 8.6, 15.2, 12.0));
}

void drawPhotoStack(SymbolCanvas& c) {
    photo(c, QRectF(2.8, 8.4, 18.4, 13.0));
    c.stroke(unite({line(5.2, 5.4, 18.8, 5.4), line(7.6, 2.6, 16.4, 2.6)}), 1.6);
}

void drawPlayFill(SymbolCanvas& c) {
    const QPainterPath play = polyline({{7.4, 4.8}, {19.4, 12}, {7.4, 19.2}}, true);
    c.fill(play);
    c.stroke(play, 2.2);  // rounds the corners
}

void drawQuestionmarkCircle(SymbolCanvas& c) {
    circled(c, questionMark(), false);
}
void drawQuestionmarkCircleFill(SymbolCanvas& c) {
    circled(c, questionMark(), true);
}

void drawQuestionmarkFolderFill(SymbolCanvas& c) {
    c.fill(folder());
    c.erase(questionMark().placed(0.62, {12, 13.2}));
}

void drawRulerFill(SymbolCanvas& c) {
    const QTransform diagonal = QTransform().translate(12, 12).rotate(-45);
    c.fill(diagonal.map(rounded(-11, -4.2, 22, 8.4, 1.3)));
    QPainterPath ticks;
    int index = 0;
    for (double x = -7.5; x <= 7.6; x += 3.0, ++index) {
        ticks.addPath(line(x, -4.4, x, index % 2 == 0 ? -0.6 : -2.2));
    }
    c.eraseStroke(diagonal.map(ticks), 1.2);
}

void drawShippingbox(SymbolCanvas& c) {
    const QPainterPath box = unite({
        polyline({{12, 2.6}, {21, 7.0}, {21, 17.0}, {12, 21.4}, {3, 17.0}, {3, 7.0}}, true),
        polyline({{3, 7.0}, {12, 11.4}, {21, 7.0}}),
        line(12, 11.4, 12, 21.4),
        line(7.5, 4.8, 16.5, 9.2),
    });
    c.stroke(box, 1.6);
}

void drawSidebarLeading(SymbolCanvas& c) {
    c.stroke(rounded(2.6, 4.4, 18.8, 15.2, 2.6), kLine);
    c.stroke(line(9.2, 4.4, 9.2, 19.6), 1.6);
    c.stroke(
        unite({line(4.9, 8.0, 6.9, 8.0), line(4.9, 10.6, 6.9, 10.6), line(4.9, 13.2, 6.9, 13.2)}),
        1.3);
}

void drawSquareAndArrowDown(SymbolCanvas& c) {
    QPainterPath tray(QPointF(8.2, 9.2));
    tray.lineTo(6.6, 9.2);
    tray.quadTo(4.4, 9.2, 4.4, 11.4);
    tray.lineTo(4.4, 19.2);
    tray.quadTo(4.4, 21.4, 6.6, 21.4);
    tray.lineTo(17.4, 21.4);
    tray.quadTo(19.6, 21.4, 19.6, 19.2);
    tray.lineTo(19.6, 11.4);
    tray.quadTo(19.6, 9.2, 17.4, 9.2);
    tray.lineTo(15.8, 9.2);
    c.stroke(tray, kLine);
    c.stroke(unite({line(12, 2.6, 12, 15.0), polyline({{8.6, 11.6}, {12, 15.0}, {15.4, 11.6}})}),
             1.9);
}

void drawXmarkCircle(SymbolCanvas& c) {
    circled(c, crossMark(), false);
}

void drawXmarkOctagonFill(SymbolCanvas& c) {
    c.fill(octagon());
    c.stroke(octagon(), 1.2);  // rounds the corners
    c.erase(crossMark().placed(0.95, {12, 12}));
}

// Alphabetical by name.
const SymbolDrawing kDrawings[] = {
    {"arrow.clockwise", drawArrowClockwise},
    {"arrow.counterclockwise.circle", drawArrowCounterclockwiseCircle},
    {"arrow.down.circle", drawArrowDownCircle},
    {"arrow.down.circle.fill", drawArrowDownCircleFill},
    {"arrow.right", drawArrowRight},
    {"arrow.triangle.2.circlepath", drawCirclePath},
    {"arrow.triangle.2.circlepath.circle.fill", drawCirclePathCircleFill},
    {"arrow.up.circle.fill", drawArrowUpCircleFill},
    {"calendar.badge.exclamationmark", drawCalendarBadgeExclamation},
    {"checkmark.circle", drawCheckmarkCircle},
    {"checkmark.circle.fill", drawCheckmarkCircleFill},
    {"checkmark.seal", drawCheckmarkSeal},
    {"checkmark.seal.fill", drawCheckmarkSealFill},
    {"checkmark.shield", drawCheckmarkShield},
    {"checkmark.shield.fill", drawCheckmarkShieldFill},
    {"chevron.down", drawChevronDown},
    {"chevron.right", drawChevronRight},
    {"clock", drawClock},
    {"clock.badge.exclamationmark.fill", drawClockBadgeExclamationFill},
    {"doc.badge.gearshape", drawDocBadgeGearshape},
    {"doc.on.doc.fill", drawDocOnDocFill},
    {"doc.text", drawDocText},
    {"doc.text.magnifyingglass", drawDocTextMagnifyingglass},
    {"exclamationmark.triangle", drawExclamationTriangle},
    {"exclamationmark.triangle.fill", drawExclamationTriangleFill},
    {"externaldrive", drawExternaldrive},
    {"externaldrive.fill", drawExternaldriveFill},
    {"folder", drawFolder},
    {"folder.badge.plus", drawFolderBadgePlus},
    {"gauge.with.dots.needle.bottom.50percent", drawGaugeNeedleBottom50},
    {"gearshape", drawGearshape},
    {"icloud", drawIcloud},
    {"icloud.and.arrow.down", drawIcloudAndArrowDown},
    {"icloud.fill", drawIcloudFill},
    {"internaldrive", drawInternaldrive},
    {"lock.fill", drawLockFill},
    {"lock.shield", drawLockShield},
    {"lock.shield.fill", drawLockShieldFill},
    {"macwindow", drawMacwindow},
    {"minus.circle", drawMinusCircle},
    {"minus.circle.fill", drawMinusCircleFill},
    {"number.circle.fill", drawNumberCircleFill},
    {"pause.circle.fill", drawPauseCircleFill},
    {"pause.fill", drawPauseFill},
    {"photo.on.rectangle", drawPhotoOnRectangle},
    {"photo.on.rectangle.angled", drawPhotoOnRectangleAngled},
    {"photo.stack", drawPhotoStack},
    {"play.fill", drawPlayFill},
    {"questionmark.circle", drawQuestionmarkCircle},
    {"questionmark.circle.fill", drawQuestionmarkCircleFill},
    {"questionmark.folder.fill", drawQuestionmarkFolderFill},
    {"ruler.fill", drawRulerFill},
    {"shippingbox", drawShippingbox},
    {"sidebar.leading", drawSidebarLeading},
    {"square.and.arrow.down", drawSquareAndArrowDown},
    {"xmark.circle", drawXmarkCircle},
    {"xmark.octagon.fill", drawXmarkOctagonFill},
};

}  // namespace

std::span<const SymbolDrawing> symbolDrawings() {
    return kDrawings;
}

void drawFallbackSymbol(SymbolCanvas& canvas) {
    canvas.stroke(circle(12, 12, 8.4), 2.0);
}

}  // namespace tallowmere
