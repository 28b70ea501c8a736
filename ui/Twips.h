#pragma once

#include <QPoint>
#include <QRect>

// The window's layout is given in twips, at 15 twips to the pixel.
namespace twips {

constexpr int kPerPixel = 15;

constexpr int pixels(int twips) { return (twips + kPerPixel / 2) / kPerPixel; }

constexpr QRect rect(int left, int top, int width, int height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

constexpr QPoint point(int x, int y) { return QPoint(pixels(x), pixels(y)); }

} // namespace twips
