// SPDX-License-Identifier: MIT
#pragma once
// Seven points that draw a gradient they cannot hold exactly as closely as
// they can: the largest channel error over a 1000-pixel strip, drawn by the
// rasteriser, made as small as we can.

#include "core/ggr.h"

#include <vector>

namespace velmix {

struct FittedPoints
{
    GradPoints points;
    // The largest channel difference in levels between DrawGrad(points,
    // 1000) and the samples; 0 when exact.
    int largestError = 0;
};

// samples: the gradient at x / 1000 for x = 0..999 (SampleGradient).
FittedPoints FitPoints(const std::vector<Colour>& samples);

// The simple fit ours must beat: for a tolerance e, points placed along the
// curve each as far as a straight line from the last stays within e; the
// smallest e (to a hundredth of a level) that needs at most seven points.
FittedPoints FloorFit(const std::vector<Colour>& samples);

// What applying a gradient gives: its exact points when seven can hold it,
// fitted points otherwise.
FittedPoints PointsFor(const NamedGradient& gradient);

// How the gradient a file describes is drawn at a length: at x / length, as
// GIMP samples a .ggr and our rasteriser places its points; or at the
// pixels' centres, (x + 1/2) / length, as a browser draws CSS and SVG.
enum class Sampling
{
    Edges,
    Centres,
};

// The same for a gradient drawn `length` pixels long, its largest error
// measured there: the error said is the error drawn. Where the points of
// PointsFor draw it more than a level off at that length, seven points
// fitted to that length are taken when they draw it closer. Exact points
// sampled at the edges are exact at every length (0): their pixels and the
// samples differ by a tie rounded the other way at most.
FittedPoints PointsFor(const NamedGradient& gradient, int length, Sampling sampling);

} // namespace velmix
