#pragma once
// Gradients written as a short list of (position, colour, enabled), for the
// table-driven tests of the core.

#include "gradient.h"

#include <QMetaType>
#include <initializer_list>
#include <tuple>

Q_DECLARE_METATYPE(velmix::GradPoints)

inline velmix::GradPoints Points(std::initializer_list<std::tuple<int, velmix::Colour, bool>> list)
{
    velmix::GradPoints p;
    int i = 0;
    for (const auto& [pos, colour, on] : list) {
        p.position[i] = pos;
        p.color[i] = colour;
        p.enabled[i] = on;
        ++i;
    }
    return p;
}
