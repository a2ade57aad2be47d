// SPDX-License-Identifier: MIT
#pragma once
// Gradients written as text, for the core's tests and their tables.

#include "core/webgrad.h"
#include "testutil.h"

#include <QStringList>

#include <cstdlib>

using namespace velmix;

// "place/rrggbb" (or the place alone: black) for points 0, 1, ...; "!"
// after a disabled one; "oklab" first for that blend.
inline GradPoints Points(const QString& text)
{
    GradPoints p;
    auto items = text.split(' ', Qt::SkipEmptyParts);
    if (items.value(0) == "oklab") {
        p.blend = Blend::OkLab;
        items.removeFirst();
    }
    for (int i = 0; i < items.size(); ++i) {
        const auto f = QString(items[i]).remove('!').split('/');
        const int rgb = f.value(1).toInt(nullptr, 16);
        p.position[i] = f[0].toInt();
        p.color[i] = MakeColour(rgb >> 16, (rgb >> 8) & 255, rgb & 255);
        p.enabled[i] = !items[i].endsWith('!');
    }
    return p;
}

// Whether an export carried `w` back.
inline bool Carries(const std::optional<WebGradient>& g, const WebGradient& w)
{
    const bool same = g && g->points == w.points && g->length == w.length;
    return same && g->vertical == w.vertical && g->thickness == w.thickness;
}

// Are two lines of colours within a level of each other in every channel?
inline bool WithinALevel(const std::vector<Colour>& a, const std::vector<Colour>& b)
{
    const auto near = [](Colour u, Colour v, int k) {
        return std::abs(int(u >> k & 255) - int(v >> k & 255)) <= 1;
    };
    for (std::size_t x = 0; x < a.size(); ++x)
        if (!near(a[x], b.at(x), 0) || !near(a[x], b[x], 8) || !near(a[x], b[x], 16))
            return false;
    return a.size() == b.size();
}
