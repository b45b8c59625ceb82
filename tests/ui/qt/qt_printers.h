// Readable failure messages for the Qt geometry the widget tests compare.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <ostream>

inline void PrintTo(const QPoint& point, std::ostream* out) {
    *out << '(' << point.x() << ", " << point.y() << ')';
}

inline void PrintTo(const QSize& size, std::ostream* out) {
    *out << size.width() << " x " << size.height();
}

inline void PrintTo(const QRect& rect, std::ostream* out) {
    PrintTo(rect.size(), out);
    *out << " at ";
    PrintTo(rect.topLeft(), out);
}
