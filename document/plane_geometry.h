// Plane geometry for shapes, arrows and connectors, in screen coordinates (y grows
// downward; angles in radians, counter-clockwise as seen on screen), and picture fitting.
#pragma once
#include "platform/base/geometry.h"

constexpr double kPi = 3.1415926;
constexpr double kHalfPi = 1.5707963;
constexpr double kThreeHalfPi = 4.7123889;
constexpr double kTwoPi = 6.2831852;

// The y and x components of a unit vector at the angle on screen: -sin and cos.
double SinAngle(double angle);
double CosAngle(double angle);
double Distance(int x1, int y1, int x2, int y2);
// Direction from point 1 to point 2, 0 <= angle < 2π.
double LineAngle(int x1, int y1, int x2, int y2);
// The point at the local offset (dx, dy) beyond point 2, in the frame whose x axis runs
// from point 1 to point 2.
plat::Point OffsetPointOnLine(int x1, int y1, int x2, int y2, int dx, int dy);
// The point on the ray from point 1 toward point 3 at the distance between points 1 and 2.
plat::Point PointAtDistance(int x1, int y1, int x2, int y2, int x3, int y3);
// Where the line through points 1 and 2 meets the line through points 3 and 4.
// Parallel (or coincident) lines give point 1.
plat::Point LineIntersection(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
// Fits a w × h picture into a box of boxW × boxH keeping its proportions; moves the
// position by the spare space halved and returns the fitted size.
plat::Size FitRect(int w, int h, int boxW, int boxH, plat::Point& position);
