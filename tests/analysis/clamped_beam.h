#pragma once
// Section forces of a straight member clamped at both ends, worked out
// independently of the program: the end reactions of the clamped beam under
// a unit transverse force at ξ (V_A = b²(3ξ + b)/L³, M_A = −ξb²/L², b = L − ξ)
// integrated over the load by Simpson's rule, then statics from the start end.
// Sagging moments positive, V = dM/dx, loads towards the right-hand side.

#include <algorithm>
#include <functional>

namespace tarvel::testing {

struct ClampedBeam {
    double L = 6.0;
    std::function<double(double)> density = [](double) { return 0.0; };  // kN/m over [from, to]
    double from = 0.0;
    double to = 0.0;
    double pointForce = 0.0;  // kN at pointAt
    double pointAt = 0.0;
    double couple = 0.0;  // clockwise kN·m at coupleAt
    double coupleAt = 0.0;

    double integrate(const std::function<double(double)>& g, double a, double b) const {
        if (b <= a) return 0.0;
        const int n = 2000;
        const double h = (b - a) / n;
        double sum = g(a) + g(b);
        for (int k = 1; k < n; ++k) sum += g(a + k * h) * (k % 2 == 1 ? 4.0 : 2.0);
        return sum * h / 3.0;
    }
    double unitVA(double x) const {
        const double b = L - x;
        return b * b * (3 * x + b) / (L * L * L);
    }
    double unitMA(double x) const {
        const double b = L - x;
        return -x * b * b / (L * L);
    }
    double VA() const {
        const double a = coupleAt;
        const double b = L - a;
        return integrate([&](double x) { return density(x) * unitVA(x); }, from, to) +
               pointForce * unitVA(pointAt) - 6 * couple * a * b / (L * L * L);
    }
    double MA() const {
        const double a = coupleAt;
        const double b = L - a;
        return integrate([&](double x) { return density(x) * unitMA(x); }, from, to) +
               pointForce * unitMA(pointAt) + couple * b * (2 * a - b) / (L * L);
    }
    double M(double x) const {
        double m = MA() + VA() * x -
                   integrate([&](double t) { return density(t) * (x - t); }, from, std::min(x, to));
        if (pointAt < x) m -= pointForce * (x - pointAt);
        if (coupleAt < x) m += couple;
        return m;
    }
    double V(double x) const {
        double v = VA() - integrate(density, from, std::min(x, to));
        if (pointAt < x) v -= pointForce;
        return v;
    }
};

}  // namespace tarvel::testing
