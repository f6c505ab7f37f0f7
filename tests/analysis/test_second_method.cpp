// Protects the static and modal results of the bundled example frame by a second analysis done
// here in double precision (own member matrices, work-equivalent member loads, dense Cholesky,
// section forces by statics, Jacobi eigen-solution) and by the equilibrium of every load case.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "support/frame_builder.h"

namespace tarvel {
namespace {

using testing::RunFixture;
using testing::TempDir;

constexpr double kUnitWeight = 25.0;  // kN/m³, reinforced concrete
// A point load this close to a member end (m) is a load on the end node.
constexpr double kNodeDistance = 0.001;
constexpr double kGravity = 9.8;             // m/s², turns the weights (kN) into masses (t)
constexpr double kTwoPiOfTheProgram = 6.28;  // the period constant the program uses instead of 2π

// Single precision carries about seven digits; solving some thirty equations whose stiffnesses
// span several decades (column EA/L against the sway stiffness) loses two or three of them. So
// the program's forces must agree to 1e-4 of the largest value of their kind in the case, while
// any misplaced or mis-signed load of the example moves them by a percent or more.
constexpr double kStaticTolerance = 1e-4;
// The load vectors are only sums of single-precision terms: a few units in the sixth digit.
constexpr double kLoadVectorTolerance = 1e-5;
// The flexibility comes from single-precision solutions and the eigen-solution is in double:
// periods (relative) and unit-length mode shapes keep four digits.
constexpr double kModalTolerance = 1e-4;
// Base forces against the loads: only the rounding of the stored single-precision forces,
// relative to the largest load resultant.
constexpr double kEquilibriumTolerance = 1e-5;

// ---------------------------------------------------------------------------------------------
// Small dense linear algebra in double, 1-based like the equation numbers.

class Matrix {
  public:
    explicit Matrix(int n) : n_(n), a_(static_cast<std::size_t>((n + 1) * (n + 1)), 0.0) {}
    int size() const { return n_; }
    double& operator()(int i, int j) { return a_[index(i, j)]; }
    double operator()(int i, int j) const { return a_[index(i, j)]; }

  private:
    std::size_t index(int i, int j) const { return static_cast<std::size_t>(i * (n_ + 1) + j); }
    int n_;
    std::vector<double> a_;
};

using Vector = std::vector<double>;  // slots 1..n, slot 0 unused

// Cholesky factor L of a symmetric positive definite matrix (K = L·Lᵀ), in the lower triangle.
Matrix choleskyFactor(const Matrix& K) {
    const int n = K.size();
    Matrix L(n);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= i; ++j) {
            double sum = K(i, j);
            for (int k = 1; k < j; ++k) sum -= L(i, k) * L(j, k);
            if (i == j) {
                EXPECT_GT(sum, 0.0) << "reference stiffness not positive definite at " << i;
                L(i, i) = std::sqrt(sum);
            } else {
                L(i, j) = sum / L(j, j);
            }
        }
    }
    return L;
}

// Solves L·Lᵀ·x = b by forward and backward substitution.
Vector choleskySolve(const Matrix& L, Vector b) {
    const int n = L.size();
    for (int i = 1; i <= n; ++i) {
        for (int k = 1; k < i; ++k)
            b[static_cast<std::size_t>(i)] -= L(i, k) * b[static_cast<std::size_t>(k)];
        b[static_cast<std::size_t>(i)] /= L(i, i);
    }
    for (int i = n; i >= 1; --i) {
        for (int k = i + 1; k <= n; ++k)
            b[static_cast<std::size_t>(i)] -= L(k, i) * b[static_cast<std::size_t>(k)];
        b[static_cast<std::size_t>(i)] /= L(i, i);
    }
    return b;
}

double at(const Vector& v, int i) { return v[static_cast<std::size_t>(i)]; }

// Eigenvalues and eigenvectors (columns of V) of a symmetric matrix by cyclic Jacobi rotations;
// A is left diagonal. Independent of any tridiagonal reduction.
Vector jacobiEigen(Matrix A, Matrix& V) {
    const int n = A.size();
    for (int i = 1; i <= n; ++i) V(i, i) = 1.0;
    for (int sweep = 0; sweep < 100; ++sweep) {
        double off = 0.0;
        double diagonal = 0.0;
        for (int p = 1; p <= n; ++p) {
            diagonal += A(p, p) * A(p, p);
            for (int q = p + 1; q <= n; ++q) off += A(p, q) * A(p, q);
        }
        if (off <= 1e-30 * diagonal) break;
        for (int p = 1; p <= n; ++p) {
            for (int q = p + 1; q <= n; ++q) {
                if (A(p, q) == 0.0) continue;
                // The rotation in the (p, q) plane that zeroes A(p, q): tan of its angle is the
                // smaller root of t² + 2θt − 1 = 0.
                const double theta = (A(q, q) - A(p, p)) / (2.0 * A(p, q));
                const double t =
                    (theta >= 0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0);
                const double s = t * c;
                for (int k = 1; k <= n; ++k) {  // A·G and V·G: columns p and q
                    const double akp = A(k, p);
                    const double akq = A(k, q);
                    A(k, p) = c * akp - s * akq;
                    A(k, q) = s * akp + c * akq;
                    const double vkp = V(k, p);
                    const double vkq = V(k, q);
                    V(k, p) = c * vkp - s * vkq;
                    V(k, q) = s * vkp + c * vkq;
                }
                for (int k = 1; k <= n; ++k) {  // Gᵀ·(A·G): rows p and q
                    const double apk = A(p, k);
                    const double aqk = A(q, k);
                    A(p, k) = c * apk - s * aqk;
                    A(q, k) = s * apk + c * aqk;
                }
            }
        }
    }
    Vector lambda(static_cast<std::size_t>(n + 1), 0.0);
    for (int i = 1; i <= n; ++i) lambda[static_cast<std::size_t>(i)] = A(i, i);
    return lambda;
}

// ---------------------------------------------------------------------------------------------
// The frame in double precision. Own conventions: member axes u from I to J and v to the left
// of u (anticlockwise), rotations and moments anticlockwise; the program's clockwise rotations
// and its right-hand-side load signs are translated where the load records are read.

using Vec6 = std::array<double, 6>;  // (u, v, θ) at I, then at J
using Mat6 = std::array<Vec6, 6>;

struct Member {
    int I = 0, J = 0;             // start and end node
    double xI = 0, yI = 0;        // start node, m
    double L = 0, c = 0, s = 0;   // length (m) and direction cosines of u
    double E = 0, A = 0, Iz = 0;  // kN/m², m², m⁴
    std::array<int, 6> code{};    // equation numbers at I then J, 0 = restrained
};

// Geometry and section of member m taken from the frame model as read by the program; area and
// second moment are formed again from B and H.
Member memberOf(const FrameModel& md, int m) {
    Member g;
    g.I = md.startNode(m);
    g.J = md.endNode(m);
    g.xI = static_cast<double>(md.XY(1, g.I));
    g.yI = static_cast<double>(md.XY(2, g.I));
    const double dx = static_cast<double>(md.XY(1, g.J)) - g.xI;
    const double dy = static_cast<double>(md.XY(2, g.J)) - g.yI;
    g.L = std::hypot(dx, dy);
    g.c = dx / g.L;
    g.s = dy / g.L;
    const double B = static_cast<double>(md.SEC(1, md.sectionOf(m)));
    const double H = static_cast<double>(md.SEC(2, md.sectionOf(m)));
    g.A = B * H;
    g.Iz = B * H * H * H / 12.0;
    g.E = static_cast<double>(md.EC(md.concreteOf(m)));
    for (int k = 1; k <= 3; ++k) {
        g.code[static_cast<std::size_t>(k - 1)] = md.code(k, g.I);
        g.code[static_cast<std::size_t>(k + 2)] = md.code(k, g.J);
    }
    return g;
}

// Stiffness in member axes, rotations anticlockwise (the textbook signs: +6EI/L² couples v_I
// with θ_I).
Mat6 localStiffness(const Member& g) {
    const double ea = g.E * g.A / g.L;
    const double k12 = 12.0 * g.E * g.Iz / (g.L * g.L * g.L);
    const double k6 = 6.0 * g.E * g.Iz / (g.L * g.L);
    const double k4 = 4.0 * g.E * g.Iz / g.L;
    const double k2 = 2.0 * g.E * g.Iz / g.L;
    Mat6 k{};
    k[0] = {ea, 0, 0, -ea, 0, 0};
    k[1] = {0, k12, k6, 0, -k12, k6};
    k[2] = {0, k6, k4, 0, -k6, k2};
    k[3] = {-ea, 0, 0, ea, 0, 0};
    k[4] = {0, -k12, -k6, 0, k12, -k6};
    k[5] = {0, k6, k2, 0, -k6, k4};
    return k;
}

Vec6 times(const Mat6& k, const Vec6& x) {
    Vec6 y{};
    for (std::size_t i = 0; i < 6; ++i)
        for (std::size_t j = 0; j < 6; ++j) y[i] += k[i][j] * x[j];
    return y;
}

// Global (X, Y, θ) components to member axes, at both ends.
Vec6 toLocal(const Member& g, const Vec6& x) {
    Vec6 y{};
    for (std::size_t e = 0; e < 6; e += 3) {
        y[e] = g.c * x[e] + g.s * x[e + 1];
        y[e + 1] = -g.s * x[e] + g.c * x[e + 1];
        y[e + 2] = x[e + 2];
    }
    return y;
}

Vec6 toGlobal(const Member& g, const Vec6& y) {
    Vec6 x{};
    for (std::size_t e = 0; e < 6; e += 3) {
        x[e] = g.c * y[e] - g.s * y[e + 1];
        x[e + 1] = g.s * y[e] + g.c * y[e + 1];
        x[e + 2] = y[e + 2];
    }
    return x;
}

// One load on a member, in member axes: transverse forces along +v, axial forces along +u,
// couples anticlockwise. Distributed loads vary linearly from qa at a to qb at b (per metre).
struct MemberLoad {
    enum Kind { TransversePoint, TransverseLinear, AxialPoint, AxialLinear, Couple };
    Kind kind = TransversePoint;
    double a = 0, b = 0;
    double qa = 0, qb = 0;  // force or couple of a point load in qa
};

struct NodalLoad {
    int node = 0;
    double fx = 0, fy = 0, mz = 0;  // kN, kN·m anticlockwise
};

struct CaseLoads {
    std::vector<std::vector<MemberLoad>> onMember;  // by member number
    std::vector<NodalLoad> atNodes;                 // point loads that sit on a member end
};

// Gauss-Legendre rule of three points: exact for polynomials up to degree 5, enough for a cubic
// shape function times a linear load.
template <typename F>
void gauss3(double lo, double hi, F&& f) {
    const double half = (hi - lo) / 2.0;
    const double mid = (hi + lo) / 2.0;
    const double r = std::sqrt(0.6);
    const double xs[3] = {mid - r * half, mid, mid + r * half};
    const double ws[3] = {5.0 / 9.0, 8.0 / 9.0, 5.0 / 9.0};
    for (int i = 0; i < 3; ++i) f(xs[i], ws[i] * half);
}

double intensity(const MemberLoad& p, double x) {
    return p.qa + (p.qb - p.qa) * (x - p.a) / (p.b - p.a);
}

// Shape functions of the member at distance x: linear for u, Hermite cubics for v (with their
// slopes, the rotations). They solve the unloaded member exactly, so by reciprocity the
// work-equivalent nodal loads of a member load are the reversed clamped-end reactions.
struct Shapes {
    double u[2];
    double v[4];
    double slope[4];
};

Shapes shapesAt(double x, double L) {
    const double r = x / L;
    Shapes sh{};
    sh.u[0] = 1.0 - r;
    sh.u[1] = r;
    sh.v[0] = 1.0 - 3.0 * r * r + 2.0 * r * r * r;
    sh.v[1] = L * (r - 2.0 * r * r + r * r * r);
    sh.v[2] = 3.0 * r * r - 2.0 * r * r * r;
    sh.v[3] = L * (-r * r + r * r * r);
    sh.slope[0] = (-6.0 * r + 6.0 * r * r) / L;
    sh.slope[1] = 1.0 - 4.0 * r + 3.0 * r * r;
    sh.slope[2] = (6.0 * r - 6.0 * r * r) / L;
    sh.slope[3] = -2.0 * r + 3.0 * r * r;
    return sh;
}

// Transverse components (v_I, θ_I, v_J, θ_J) and axial ones (u_I, u_J) in the member vector.
constexpr std::size_t kBending[4] = {1, 2, 4, 5};
constexpr std::size_t kAxial[2] = {0, 3};

// Nodal loads equivalent in virtual work to the member load, in member axes.
Vec6 equivalentNodalLoads(const MemberLoad& p, double L) {
    Vec6 f{};
    auto transverse = [&](double x, double force) {
        const Shapes sh = shapesAt(x, L);
        for (int i = 0; i < 4; ++i) f[kBending[i]] += sh.v[i] * force;
    };
    auto axial = [&](double x, double force) {
        const Shapes sh = shapesAt(x, L);
        for (int i = 0; i < 2; ++i) f[kAxial[i]] += sh.u[i] * force;
    };
    switch (p.kind) {
        case MemberLoad::TransversePoint:
            transverse(p.a, p.qa);
            break;
        case MemberLoad::AxialPoint:
            axial(p.a, p.qa);
            break;
        case MemberLoad::Couple: {
            const Shapes sh = shapesAt(p.a, L);
            for (int i = 0; i < 4; ++i) f[kBending[i]] += sh.slope[i] * p.qa;
            break;
        }
        case MemberLoad::TransverseLinear:
            gauss3(p.a, p.b, [&](double x, double w) { transverse(x, intensity(p, x) * w); });
            break;
        case MemberLoad::AxialLinear:
            gauss3(p.a, p.b, [&](double x, double w) { axial(x, intensity(p, x) * w); });
            break;
    }
    return f;
}

// Section forces in the program's convention: M stretching the right-hand side of the member
// seen from I to J, V = dM/dx, N positive in compression.
struct SectionForce {
    double M = 0, V = 0, N = 0;
};

// Section forces at distance x by the statics of the free body from I to x. End forces are those
// the nodes exert on the member (member axes, anticlockwise moment). A point load exactly at x
// is not yet passed: the section shows the value just before it.
SectionForce sectionAt(double x, const Vec6& endForces, const std::vector<MemberLoad>& loads) {
    SectionForce f;
    f.N = endForces[0];
    f.V = endForces[1];
    f.M = -endForces[2] + endForces[1] * x;
    for (const MemberLoad& p : loads) {
        switch (p.kind) {
            case MemberLoad::TransversePoint:
                if (p.a < x) {
                    f.V += p.qa;
                    f.M += p.qa * (x - p.a);
                }
                break;
            case MemberLoad::AxialPoint:
                if (p.a < x) f.N += p.qa;
                break;
            case MemberLoad::Couple:
                if (p.a < x) f.M -= p.qa;
                break;
            case MemberLoad::TransverseLinear:
                if (std::min(p.b, x) > p.a) {
                    gauss3(p.a, std::min(p.b, x), [&](double xi, double w) {
                        const double force = intensity(p, xi) * w;
                        f.V += force;
                        f.M += force * (x - xi);
                    });
                }
                break;
            case MemberLoad::AxialLinear:
                if (std::min(p.b, x) > p.a) {
                    gauss3(p.a, std::min(p.b, x),
                           [&](double xi, double w) { f.N += intensity(p, xi) * w; });
                }
                break;
        }
    }
    return f;
}

// One record of a load segment in the conventions above. Positive transverse loads of the
// records push towards the member's right-hand side (−v), positive moments turn clockwise, and
// the loaded length of a distributed load is cut to the member.
void addRecord(const LoadRecord& r, const Member& g, int m, CaseLoads& out) {
    const double q = static_cast<double>(r.Q);
    double a = static_cast<double>(r.A);
    double b = static_cast<double>(r.B);
    std::vector<MemberLoad>& on = out.onMember[static_cast<std::size_t>(m)];
    switch (r.IC) {
        case 1:
        case 5:
        case 6: {
            if (a < 0) a = g.L;  // a negative position puts the load at the end node
            const bool atStart = std::fabs(a) <= kNodeDistance;
            const bool atEnd = std::fabs(g.L - a) <= kNodeDistance;
            if (atStart || atEnd) {
                NodalLoad n;
                n.node = atStart ? g.I : g.J;
                if (r.IC == 1) {
                    n.fx = q * g.s;  // right-hand normal (s, −c)
                    n.fy = -q * g.c;
                } else if (r.IC == 5) {
                    n.fx = q * g.c;
                    n.fy = q * g.s;
                } else {
                    n.mz = -q;
                }
                out.atNodes.push_back(n);
                break;
            }
            if (r.IC == 1) on.push_back({MemberLoad::TransversePoint, a, a, -q, 0});
            if (r.IC == 5) on.push_back({MemberLoad::AxialPoint, a, a, q, 0});
            if (r.IC == 6) on.push_back({MemberLoad::Couple, a, a, -q, 0});
            break;
        }
        case 2:
        case 3:
        case 4: {
            if (a < 0) a = 0;
            if (b > g.L || b < 0) b = g.L;
            if (b <= a) break;
            const double qa = r.IC == 3 ? 0.0 : q;  // type 3 rises to q, type 4 falls from q
            const double qb = r.IC == 4 ? 0.0 : q;
            on.push_back({MemberLoad::TransverseLinear, a, b, -qa, -qb});
            break;
        }
        default:
            break;  // no load
    }
}

// Self-weight of a member: gravity of 25 kN/m³ split into its transverse and axial components.
void addSelfWeight(const Member& g, int m, CaseLoads& out) {
    const double q = kUnitWeight * g.A;  // kN/m downward
    std::vector<MemberLoad>& on = out.onMember[static_cast<std::size_t>(m)];
    on.push_back({MemberLoad::TransverseLinear, 0, g.L, -q * g.c, -q * g.c});
    on.push_back({MemberLoad::AxialLinear, 0, g.L, -q * g.s, -q * g.s});
}

// Nine sections of a member, at (s−1)·L/8 (slot 0 unused).
using Sections = std::array<SectionForce, 10>;

struct CaseSolution {
    Vector d;                      // displacement of each equation (m, rad anticlockwise)
    std::vector<Sections> forces;  // by member number
};

class ReferenceFrame {
  public:
    explicit ReferenceFrame(const FrameModel& md) : md_(md), factor_(0) {
        NDOF_ = 0;
        for (int n = 1; n <= md.NJ; ++n)
            for (int k = 1; k <= 3; ++k) NDOF_ = std::max(NDOF_, md.code(k, n));
        members_.resize(static_cast<std::size_t>(md.NE + 1));
        for (int m = 1; m <= md.NE; ++m) members_[static_cast<std::size_t>(m)] = memberOf(md, m);
        factor_ = choleskyFactor(assemble());
    }

    int NDOF() const { return NDOF_; }
    const Member& member(int m) const { return members_[static_cast<std::size_t>(m)]; }

    // The loads of case LC from its records, the dead case with the self-weight.
    CaseLoads loadsOf(const AnalysisState& st, int LC) const {
        CaseLoads loads;
        loads.onMember.resize(static_cast<std::size_t>(md_.NE + 1));
        if (LC == kDeadCase && md_.KW != 0) {
            for (int m = 1; m <= md_.NE; ++m) addSelfWeight(member(m), m, loads);
        }
        for (const LoadRecord& r : st.loads[LC].records)
            addRecord(r, member(r.IBAR), r.IBAR, loads);
        return loads;
    }

    // Work-equivalent nodal loads of the members plus the loads put on nodes, by equation.
    Vector loadVector(const CaseLoads& loads) const {
        Vector F(static_cast<std::size_t>(NDOF_ + 1), 0.0);
        for (int m = 1; m <= md_.NE; ++m) {
            const Member& g = member(m);
            Vec6 local{};
            for (const MemberLoad& p : loads.onMember[static_cast<std::size_t>(m)]) {
                const Vec6 f = equivalentNodalLoads(p, g.L);
                for (std::size_t i = 0; i < 6; ++i) local[i] += f[i];
            }
            const Vec6 global = toGlobal(g, local);
            for (std::size_t i = 0; i < 6; ++i) {
                if (g.code[i] > 0) F[static_cast<std::size_t>(g.code[i])] += global[i];
            }
        }
        for (const NodalLoad& n : loads.atNodes) {
            const double components[3] = {n.fx, n.fy, n.mz};
            for (int k = 1; k <= 3; ++k) {
                const int code = md_.code(k, n.node);
                if (code > 0) F[static_cast<std::size_t>(code)] += components[k - 1];
            }
        }
        return F;
    }

    Vector solve(const Vector& F) const { return choleskySolve(factor_, F); }

    // Displacements, end forces and the nine section forces of every member.
    CaseSolution solveCase(const CaseLoads& loads) const {
        CaseSolution sol;
        sol.d = solve(loadVector(loads));
        sol.forces.resize(static_cast<std::size_t>(md_.NE + 1));
        for (int m = 1; m <= md_.NE; ++m) {
            const Member& g = member(m);
            const std::vector<MemberLoad>& on = loads.onMember[static_cast<std::size_t>(m)];
            const Vec6 f = endForces(g, sol.d, on);
            Sections& sec = sol.forces[static_cast<std::size_t>(m)];
            for (int s = 1; s <= 9; ++s)
                sec[static_cast<std::size_t>(s)] = sectionAt((s - 1) * g.L / 8.0, f, on);
            expectStaticsCloseAtEnd(m, f, sec[9]);
        }
        return sol;
    }

  private:
    Matrix assemble() const {
        Matrix K(NDOF_);
        for (int m = 1; m <= md_.NE; ++m) {
            const Member& g = member(m);
            const Mat6 k = localStiffness(g);
            // Global stiffness column by column: Rᵀ·k·R applied to unit vectors.
            for (std::size_t j = 0; j < 6; ++j) {
                if (g.code[j] == 0) continue;
                Vec6 unit{};
                unit[j] = 1.0;
                const Vec6 column = toGlobal(g, times(k, toLocal(g, unit)));
                for (std::size_t i = 0; i < 6; ++i) {
                    if (g.code[i] > 0) K(g.code[i], g.code[j]) += column[i];
                }
            }
        }
        return K;
    }

    // Forces the nodes exert on the member: stiffness times displacements, less the
    // equivalent nodal loads (the clamped-end reactions are their reverse).
    Vec6 endForces(const Member& g, const Vector& d, const std::vector<MemberLoad>& on) const {
        Vec6 u{};
        for (std::size_t i = 0; i < 6; ++i) u[i] = g.code[i] > 0 ? at(d, g.code[i]) : 0.0;
        Vec6 f = times(localStiffness(g), toLocal(g, u));
        for (const MemberLoad& p : on) {
            const Vec6 e = equivalentNodalLoads(p, g.L);
            for (std::size_t i = 0; i < 6; ++i) f[i] -= e[i];
        }
        return f;
    }

    // The reference checks itself: statics from I must arrive at the forces at J.
    static void expectStaticsCloseAtEnd(int m, const Vec6& f, const SectionForce& atJ) {
        const double scale =
            1e-9 * (1.0 + std::fabs(f[0]) + std::fabs(f[1]) + std::fabs(f[2]) + std::fabs(f[5]));
        EXPECT_NEAR(atJ.M, f[5], scale) << "reference statics, member " << m;
        EXPECT_NEAR(atJ.V, -f[4], scale) << "reference statics, member " << m;
        EXPECT_NEAR(atJ.N, -f[3], scale) << "reference statics, member " << m;
    }

    const FrameModel& md_;
    int NDOF_ = 0;
    std::vector<Member> members_;
    Matrix factor_;  // Cholesky factor of the stiffness matrix
};

// ---------------------------------------------------------------------------------------------
// Comparing a set of program values with the reference, against the largest reference value.

struct Compared {
    std::string what;
    double program = 0;
    double reference = 0;
};

void expectAgreement(const std::vector<Compared>& pairs, double relative, const std::string& set) {
    double scale = 0.0;
    for (const Compared& p : pairs) scale = std::max(scale, std::fabs(p.reference));
    ASSERT_GT(scale, 0.0) << set << ": nothing to compare";
    for (const Compared& p : pairs) {
        EXPECT_NEAR(p.program, p.reference, relative * scale)
            << set << ", " << p.what << " (largest value " << scale << ")";
    }
}

// The name of a table entry, such as BM(5, 2), for failure messages.
std::string entry(const char* table, int k, int i) {
    return std::string(table) + "(" + std::to_string(k) + ", " + std::to_string(i) + ")";
}

// ---------------------------------------------------------------------------------------------
// The example frame, run once through the whole analysis.

class SecondMethod : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        run_ = std::make_unique<RunFixture>();
        const std::string text =
            TempDir::read(std::string(TARVEL_SOURCE_DIR) + "/examples/FRAME3X4.TVL");
        ASSERT_FALSE(text.empty()) << "example frame not found";
        run_->run(text, "FRAME3X4.TVL");
    }
    static void TearDownTestSuite() { run_.reset(); }

    void SetUp() override {
        ASSERT_EQ(run_->result.outcome, RunOutcome::Finished) << "the example run stopped";
        // 3 bays and 4 storeys: 12 beams, 16 columns, 36 unknowns, 4 sway levels.
        ASSERT_EQ(state().model.NB, 12);
        ASSERT_EQ(state().model.NC, 16);
    }

    static const AnalysisState& state() { return *run_->state; }

    static std::unique_ptr<RunFixture> run_;
};

std::unique_ptr<RunFixture> SecondMethod::run_;

// Beam moments and end shears, column end forces of one case against the reference.
void compareMemberForces(const AnalysisState& st, const CaseSolution& ref, int LC) {
    const FrameModel& md = st.model;
    std::vector<Compared> moments, shears, axial;
    auto sectionOf = [&](int m, int s) -> const SectionForce& {
        return ref.forces[static_cast<std::size_t>(m)][static_cast<std::size_t>(s)];
    };
    for (int b = 1; b <= md.NB; ++b) {
        for (int s = 1; s <= 9; ++s)
            moments.push_back(
                {entry("BM", s, b), static_cast<double>(st.BM(s, b, LC)), sectionOf(b, s).M});
        shears.push_back(
            {entry("BV", 1, b), static_cast<double>(st.BV(1, b, LC)), sectionOf(b, 1).V});
        shears.push_back(
            {entry("BV", 2, b), static_cast<double>(st.BV(2, b, LC)), sectionOf(b, 9).V});
    }
    for (int i = 1; i <= md.NC; ++i) {
        const int m = md.NB + i;
        for (int e = 0; e < 2; ++e) {
            const SectionForce& f = sectionOf(m, e == 0 ? 1 : 9);
            const int k = e == 0 ? 5 : 9;
            moments.push_back({entry("CF", k, i), static_cast<double>(st.CF(k, i, LC)), f.M});
            shears.push_back(
                {entry("CF", k + 1, i), static_cast<double>(st.CF(k + 1, i, LC)), f.V});
            axial.push_back({entry("CF", k + 2, i), static_cast<double>(st.CF(k + 2, i, LC)), f.N});
        }
    }
    const std::string name = kLoadSegmentNames[LC];
    expectAgreement(moments, kStaticTolerance, name + " moments");
    expectAgreement(shears, kStaticTolerance, name + " shears");
    expectAgreement(axial, kStaticTolerance, name + " axial forces");
}

TEST_F(SecondMethod, StaticCasesAgreeWithADoublePrecisionAnalysis) {
    const ReferenceFrame ref(state().model);
    EXPECT_EQ(ref.NDOF(), 36);
    for (int LC = kDeadCase; LC <= kWindCase; ++LC) {
        SCOPED_TRACE(kLoadSegmentNames[LC]);
        compareMemberForces(state(), ref.solveCase(ref.loadsOf(state(), LC)), LC);
    }
}

TEST_F(SecondMethod, WindStoreyDisplacementsAgree) {
    const AnalysisState& st = state();
    const ReferenceFrame ref(st.model);
    const CaseSolution wind = ref.solveCase(ref.loadsOf(st, kWindCase));
    ASSERT_EQ(st.model.NLEV, 4);
    std::vector<Compared> drift;
    for (int l = 1; l <= st.model.NLEV; ++l) {
        const int code = st.model.code(1, static_cast<int>(st.model.LEVN(l)));
        ASSERT_GT(code, 0);
        drift.push_back({entry("UD", 1, l), static_cast<double>(st.UD(1, l)), at(wind.d, code)});
    }
    expectAgreement(drift, kStaticTolerance, "wind displacements");
    // The frame sways with the wind, more at every floor up.
    for (int l = 2; l <= st.model.NLEV; ++l)
        EXPECT_GT(drift[static_cast<std::size_t>(l - 1)].reference,
                  drift[static_cast<std::size_t>(l - 2)].reference);
}

// The kept dead and live vectors are the work-equivalent loads; the program's rotations turn
// clockwise, so its moments are the reverse of ours.
TEST_F(SecondMethod, KeptLoadVectorsAreTheEquivalentNodalLoads) {
    const AnalysisState& st = state();
    const ReferenceFrame ref(st.model);
    std::vector<double> sign(static_cast<std::size_t>(ref.NDOF() + 1), 1.0);
    for (int n = 1; n <= st.model.NJ; ++n) {
        if (st.model.code(3, n) > 0) sign[static_cast<std::size_t>(st.model.code(3, n))] = -1.0;
    }
    for (int LC = kDeadCase; LC <= kLiveCase; ++LC) {
        const Vector F = ref.loadVector(ref.loadsOf(st, LC));
        std::vector<Compared> pairs;
        for (int j = 1; j <= ref.NDOF(); ++j) {
            pairs.push_back({entry("PLOAD", LC, j), static_cast<double>(st.PLOAD(LC, j)),
                             sign[static_cast<std::size_t>(j)] * at(F, j)});
        }
        expectAgreement(pairs, kLoadVectorTolerance, kLoadSegmentNames[LC]);
    }
}

// ---------------------------------------------------------------------------------------------
// Modes: the lumped masses WG/9.8 on the sway unknowns, the flexibility from the reference.

TEST_F(SecondMethod, PeriodsAndModeShapesAgreeWithJacobiRotations) {
    const AnalysisState& st = state();
    const DynamicResults& dyn = st.dyn;
    ASSERT_EQ(dyn.IERR, 0);
    ASSERT_EQ(dyn.NMASS, 4);
    const int n = dyn.NMASS;
    const ReferenceFrame ref(st.model);

    // Flexibility: horizontal displacement at mass i under a unit force at mass j.
    std::vector<int> code(static_cast<std::size_t>(n + 1), 0);
    for (int i = 1; i <= n; ++i)
        code[static_cast<std::size_t>(i)] = st.model.code(1, static_cast<int>(dyn.MNODE(i)));
    Matrix F(n);
    for (int j = 1; j <= n; ++j) {
        Vector unit(static_cast<std::size_t>(ref.NDOF() + 1), 0.0);
        unit[static_cast<std::size_t>(code[static_cast<std::size_t>(j)])] = 1.0;
        const Vector d = ref.solve(unit);
        for (int i = 1; i <= n; ++i) F(i, j) = at(d, code[static_cast<std::size_t>(i)]);
    }
    // W·F·W with W = diag(√m) is symmetric; its eigenvalues are 1/ω².
    Vector root(static_cast<std::size_t>(n + 1), 0.0);
    for (int i = 1; i <= n; ++i) {
        ASSERT_GT(dyn.WG(i), 0.0f);
        root[static_cast<std::size_t>(i)] = std::sqrt(static_cast<double>(dyn.WG(i)) / kGravity);
    }
    Matrix WFW(n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) WFW(i, j) = at(root, i) * F(i, j) * at(root, j);
    Matrix Y(n);
    const Vector lambda = jacobiEigen(WFW, Y);

    // Longest period first.
    std::vector<int> order;
    for (int j = 1; j <= n; ++j) order.push_back(j);
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return at(lambda, a) > at(lambda, b); });

    for (int mode = 1; mode <= n; ++mode) {
        const int j = order[static_cast<std::size_t>(mode - 1)];
        ASSERT_GT(at(lambda, j), 0.0);
        const double period =
            kTwoPiOfTheProgram * static_cast<double>(dyn.raw.ALF2) * std::sqrt(at(lambda, j));
        EXPECT_NEAR(dyn.PERIOD(mode), period, kModalTolerance * period) << "PERIOD(" << mode << ")";

        // Mass amplitudes φ = W⁻¹·y, unit length, the sign of the program's shape.
        std::vector<double> phi(static_cast<std::size_t>(n + 1), 0.0);
        double length = 0.0;
        double dot = 0.0;
        for (int i = 1; i <= n; ++i) {
            phi[static_cast<std::size_t>(i)] = Y(i, j) / at(root, i);
            length += phi[static_cast<std::size_t>(i)] * phi[static_cast<std::size_t>(i)];
            dot += phi[static_cast<std::size_t>(i)] * dyn.PHI(i, mode);
        }
        const double scale = (dot < 0 ? -1.0 : 1.0) / std::sqrt(length);
        for (int i = 1; i <= n; ++i) {
            EXPECT_NEAR(dyn.PHI(i, mode), scale * at(phi, i), kModalTolerance)
                << "PHI(" << i << ", " << mode << ")";
        }
    }
    // A regular frame: the first period lies in the usual range for four storeys (0.1 s per
    // storey, give or take a factor of two), so the units of the masses are right.
    EXPECT_GT(dyn.PERIOD(1), 0.2);
    EXPECT_LT(dyn.PERIOD(1), 0.8);
}

// ---------------------------------------------------------------------------------------------
// Equilibrium of the whole frame from the stored column forces alone.

// Forces in X and Y and their moment about the origin, anticlockwise.
struct Resultant {
    double X = 0, Y = 0, M = 0;
    void add(double fx, double fy, double x, double y) {
        X += fx;
        Y += fy;
        M += x * fy - y * fx;
    }
};

// The applied loads of a case: each member load as the forces at its integration points.
Resultant appliedLoads(const ReferenceFrame& ref, const FrameModel& md, const CaseLoads& loads) {
    Resultant r;
    for (int m = 1; m <= md.NE; ++m) {
        const Member& g = ref.member(m);
        auto force = [&](double x, double fu, double fv) {
            r.add(g.c * fu - g.s * fv, g.s * fu + g.c * fv, g.xI + x * g.c, g.yI + x * g.s);
        };
        for (const MemberLoad& p : loads.onMember[static_cast<std::size_t>(m)]) {
            switch (p.kind) {
                case MemberLoad::TransversePoint:
                    force(p.a, 0, p.qa);
                    break;
                case MemberLoad::AxialPoint:
                    force(p.a, p.qa, 0);
                    break;
                case MemberLoad::Couple:
                    r.M += p.qa;
                    break;
                case MemberLoad::TransverseLinear:
                    gauss3(p.a, p.b, [&](double x, double w) { force(x, 0, intensity(p, x) * w); });
                    break;
                case MemberLoad::AxialLinear:
                    gauss3(p.a, p.b, [&](double x, double w) { force(x, intensity(p, x) * w, 0); });
                    break;
            }
        }
    }
    // A load on a restrained component goes straight into the support and is not seen by the
    // members; only the free components count.
    for (const NodalLoad& n : loads.atNodes) {
        const double x = static_cast<double>(md.XY(1, n.node));
        const double y = static_cast<double>(md.XY(2, n.node));
        if (md.code(1, n.node) > 0) r.add(n.fx, 0, x, y);
        if (md.code(2, n.node) > 0) r.add(0, n.fy, x, y);
        if (md.code(3, n.node) > 0) r.M += n.mz;
    }
    return r;
}

// Columns standing on a fixed base node; the test frame has its supports only there.
std::vector<int> baseColumns(const FrameModel& md) {
    auto fixed = [&](int n) {
        return md.code(1, n) == 0 && md.code(2, n) == 0 && md.code(3, n) == 0;
    };
    auto restrained = [&](int n) {
        return md.code(1, n) == 0 || md.code(2, n) == 0 || md.code(3, n) == 0;
    };
    std::vector<int> columns;
    for (int m = 1; m <= md.NE; ++m) {
        const bool column = m > md.NB;
        if (column && fixed(md.startNode(m))) {
            columns.push_back(m - md.NB);
        } else {
            EXPECT_FALSE(restrained(md.startNode(m)))
                << "support not at a column base, member " << m;
        }
        EXPECT_FALSE(restrained(md.endNode(m))) << "support not at a column base, member " << m;
    }
    return columns;
}

TEST_F(SecondMethod, ColumnBaseForcesBalanceTheLoadsOfEveryCase) {
    const AnalysisState& st = state();
    const FrameModel& md = st.model;
    const ReferenceFrame ref(md);
    const std::vector<int> bases = baseColumns(md);
    ASSERT_EQ(bases.size(), 4u);
    for (int LC = kDeadCase; LC <= kWindCase; ++LC) {
        SCOPED_TRACE(kLoadSegmentNames[LC]);
        const Resultant load = appliedLoads(ref, md, ref.loadsOf(st, LC));
        // The base forces on the columns (section 1: N compression, V, M) are the reactions.
        Resultant support;
        for (int i : bases) {
            const Member& g = ref.member(md.NB + i);
            const double N = static_cast<double>(st.CF(7, i, LC));
            const double V = static_cast<double>(st.CF(6, i, LC));
            support.add(g.c * N - g.s * V, g.s * N + g.c * V, g.xI, g.yI);
            support.M -= static_cast<double>(st.CF(5, i, LC));
        }
        const double force = std::max(std::fabs(load.X), std::fabs(load.Y));
        double extent = 0.0;
        for (int n = 1; n <= md.NJ; ++n)
            extent = std::max({extent, std::fabs(static_cast<double>(md.XY(1, n))),
                               std::fabs(static_cast<double>(md.XY(2, n)))});
        EXPECT_NEAR(support.X + load.X, 0.0, kEquilibriumTolerance * force) << "horizontal";
        EXPECT_NEAR(support.Y + load.Y, 0.0, kEquilibriumTolerance * force) << "vertical";
        EXPECT_NEAR(support.M + load.M, 0.0, kEquilibriumTolerance * force * extent) << "moment";
    }
    // The dead load carries the self-weight: more than the weight of the concrete alone.
    double concrete = 0.0;
    for (int m = 1; m <= md.NE; ++m) concrete += kUnitWeight * ref.member(m).A * ref.member(m).L;
    EXPECT_LT(appliedLoads(ref, md, ref.loadsOf(st, kDeadCase)).Y, -concrete);
}

// ---------------------------------------------------------------------------------------------
// The reference's own load treatment against the textbook clamped-beam values.

TEST(SecondMethodReference, EquivalentLoadsAreTheClampedEndReactionsReversed) {
    const double L = 6.0;
    const double w = 10.0;
    const double P = 12.0;
    const double C = 8.0;
    const double tol = 1e-9;
    // Uniform load along +v: wL/2 and ±wL²/12.
    Vec6 f = equivalentNodalLoads({MemberLoad::TransverseLinear, 0, L, w, w}, L);
    EXPECT_NEAR(f[1], w * L / 2, tol);
    EXPECT_NEAR(f[2], w * L * L / 12, tol);
    EXPECT_NEAR(f[4], w * L / 2, tol);
    EXPECT_NEAR(f[5], -w * L * L / 12, tol);
    // Triangle rising from 0 at I to w at J: 3wL/20, wL²/30 at I; 7wL/20, wL²/20 at J.
    f = equivalentNodalLoads({MemberLoad::TransverseLinear, 0, L, 0, w}, L);
    EXPECT_NEAR(f[1], 3 * w * L / 20, tol);
    EXPECT_NEAR(f[2], w * L * L / 30, tol);
    EXPECT_NEAR(f[4], 7 * w * L / 20, tol);
    EXPECT_NEAR(f[5], -w * L * L / 20, tol);
    // Point load at a = 2, b = 4: Pb²(3a+b)/L³, Pab²/L² at I.
    f = equivalentNodalLoads({MemberLoad::TransversePoint, 2, 2, P, 0}, L);
    EXPECT_NEAR(f[1], P * 16 * 10 / 216, tol);
    EXPECT_NEAR(f[2], P * 2 * 16 / 36, tol);
    EXPECT_NEAR(f[4], P * 4 * 14 / 216, tol);
    EXPECT_NEAR(f[5], -P * 4 * 4 / 36, tol);
    // Couple at a = 2, b = 4: end shears 6Cab/L³, end moments Cb(2a−b)/L² and Ca(2b−a)/L².
    f = equivalentNodalLoads({MemberLoad::Couple, 2, 2, C, 0}, L);
    EXPECT_NEAR(f[1], -6 * C * 8 / 216, tol);
    EXPECT_NEAR(f[2], 0.0, tol);  // b(2a − b) = 0 for these a and b
    EXPECT_NEAR(f[4], 6 * C * 8 / 216, tol);
    EXPECT_NEAR(f[5], -C * 2 * 6 / 36, tol);
    // Uniform axial load: half to each end; axial point load in proportion.
    f = equivalentNodalLoads({MemberLoad::AxialLinear, 0, L, w, w}, L);
    EXPECT_NEAR(f[0], w * L / 2, tol);
    EXPECT_NEAR(f[3], w * L / 2, tol);
    f = equivalentNodalLoads({MemberLoad::AxialPoint, 1.5, 1.5, P, 0}, L);
    EXPECT_NEAR(f[0], P * 0.75, tol);
    EXPECT_NEAR(f[3], P * 0.25, tol);
}

// A clamped beam under a uniform load towards its right-hand side (−v): −wL²/12 at the ends and
// +wL²/24 at mid-span, by statics from the clamped-end reactions.
TEST(SecondMethodReference, SectionsOfAClampedBeamByStatics) {
    const double L = 6.0;
    const double w = 10.0;
    const std::vector<MemberLoad> loads = {{MemberLoad::TransverseLinear, 0, L, -w, -w}};
    const Vec6 fe = equivalentNodalLoads(loads[0], L);
    Vec6 ends{};
    for (std::size_t i = 0; i < 6; ++i) ends[i] = -fe[i];  // no displacement: clamped reactions
    EXPECT_NEAR(sectionAt(0, ends, loads).M, -w * L * L / 12, 1e-9);
    EXPECT_NEAR(sectionAt(L / 2, ends, loads).M, w * L * L / 24, 1e-9);
    EXPECT_NEAR(sectionAt(L, ends, loads).M, -w * L * L / 12, 1e-9);
    EXPECT_NEAR(sectionAt(0, ends, loads).V, w * L / 2, 1e-9);
    EXPECT_NEAR(sectionAt(L, ends, loads).V, -w * L / 2, 1e-9);
}

}  // namespace
}  // namespace tarvel
