#include "conversion/polynomial_fit.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace q5480 {
namespace {

using Real = long double;

constexpr int kMaxIterations = 30;

Real Hypot(Real a, Real b) { return std::hypot(a, b); }

Real WithSign(Real magnitude, Real sign) {
  return sign >= 0 ? std::fabs(magnitude) : -std::fabs(magnitude);
}

// A = U * diag(w) * V^T for an m x n matrix with m >= n; `a` is replaced by U.
class Decomposition {
 public:
  Decomposition(std::vector<std::vector<Real>> a, int n)
      : a_(std::move(a)),
        m_(static_cast<int>(a_.size())),
        n_(n),
        w_(n),
        v_(n, std::vector<Real>(n)),
        rv1_(n) {}

  bool Run() {
    Bidiagonalize();
    AccumulateRight();
    AccumulateLeft();
    return Diagonalize();
  }

  Real& U(int i, int j) { return a_[i][j]; }
  Real W(int j) const { return w_[j]; }
  Real& W(int j) { return w_[j]; }
  Real V(int i, int j) const { return v_[i][j]; }

 private:
  // A Householder reflection as Bidiagonalize makes it: the scale of the
  // elements, g and h; g and h are 0 when the scale is.
  struct Reflection {
    Real scale = 0;
    Real g = 0;
    Real h = 0;
  };

  // Reflects the elements `at(first)` to `at(last - 1)` of a column or a row:
  // they are scaled in place and the first becomes f - g.
  template <typename Element>
  static Reflection Reflect(int first, int last, Element at) {
    Reflection r;
    for (int k = first; k < last; ++k) r.scale += std::fabs(at(k));
    if (r.scale == 0) return r;
    Real s = 0;
    for (int k = first; k < last; ++k) {
      at(k) /= r.scale;
      s += at(k) * at(k);
    }
    const Real f = at(first);
    r.g = -WithSign(std::sqrt(s), f);
    r.h = f * r.g - s;
    at(first) = f - r.g;
    return r;
  }

  void Bidiagonalize() {
    Reflection row;
    for (int i = 0; i < n_; ++i) {
      const int l = i + 1;
      rv1_[i] = row.scale * row.g;
      const Reflection column = Reflect(i, m_, [&](int k) -> Real& { return a_[k][i]; });
      if (column.scale != 0) {
        for (int j = l; j < n_; ++j) {
          Real sum = 0;
          for (int k = i; k < m_; ++k) sum += a_[k][i] * a_[k][j];
          const Real factor = sum / column.h;
          for (int k = i; k < m_; ++k) a_[k][j] += factor * a_[k][i];
        }
        for (int k = i; k < m_; ++k) a_[k][i] *= column.scale;
      }
      w_[i] = column.scale * column.g;
      row = {};
      if (i != n_ - 1) {
        row = Reflect(l, n_, [&](int k) -> Real& { return a_[i][k]; });
        if (row.scale != 0) {
          for (int k = l; k < n_; ++k) rv1_[k] = a_[i][k] / row.h;
          for (int j = l; j < m_; ++j) {
            Real sum = 0;
            for (int k = l; k < n_; ++k) sum += a_[j][k] * a_[i][k];
            for (int k = l; k < n_; ++k) a_[j][k] += sum * rv1_[k];
          }
          for (int k = l; k < n_; ++k) a_[i][k] *= row.scale;
        }
      }
      norm_ = std::max(norm_, std::fabs(w_[i]) + std::fabs(rv1_[i]));
    }
  }

  void AccumulateRight() {
    Real g = 0;
    int l = n_;
    for (int i = n_ - 1; i >= 0; --i) {
      if (i < n_ - 1) {
        if (g != 0) {
          for (int j = l; j < n_; ++j) v_[j][i] = (a_[i][j] / a_[i][l]) / g;
          for (int j = l; j < n_; ++j) {
            Real s = 0;
            for (int k = l; k < n_; ++k) s += a_[i][k] * v_[k][j];
            for (int k = l; k < n_; ++k) v_[k][j] += s * v_[k][i];
          }
        }
        for (int j = l; j < n_; ++j) v_[i][j] = v_[j][i] = 0;
      }
      v_[i][i] = 1;
      g = rv1_[i];
      l = i;
    }
  }

  void AccumulateLeft() {
    for (int i = n_ - 1; i >= 0; --i) {
      const int l = i + 1;
      Real g = w_[i];
      for (int j = l; j < n_; ++j) a_[i][j] = 0;
      if (g != 0) {
        g = 1 / g;
        for (int j = l; j < n_; ++j) {
          Real s = 0;
          for (int k = l; k < m_; ++k) s += a_[k][i] * a_[k][j];
          const Real f = (s / a_[i][i]) * g;
          for (int k = i; k < m_; ++k) a_[k][j] += f * a_[k][i];
        }
        for (int j = i; j < m_; ++j) a_[j][i] *= g;
      } else {
        for (int j = i; j < m_; ++j) a_[j][i] = 0;
      }
      a_[i][i] += 1;
    }
  }

  // Rotates columns p and q of `matrix` (rows `rows`) by (c, s).
  static void Rotate(std::vector<std::vector<Real>>& matrix, int rows, int p, int q, Real c,
                     Real s) {
    for (int r = 0; r < rows; ++r) {
      const Real y = matrix[r][p];
      const Real z = matrix[r][q];
      matrix[r][p] = y * c + z * s;
      matrix[r][q] = z * c - y * s;
    }
  }

  bool Diagonalize() {
    for (int k = n_ - 1; k >= 0; --k) {
      for (int iteration = 1;; ++iteration) {
        bool cancel = true;
        int l = k;
        int nm = 0;
        for (; l >= 0; --l) {
          nm = l - 1;
          if (std::fabs(rv1_[l]) + norm_ == norm_) {  // rv1_[0] is always 0
            cancel = false;
            break;
          }
          if (std::fabs(w_[nm]) + norm_ == norm_) break;
        }
        if (cancel) {
          Real c = 0, s = 1;
          for (int i = l; i <= k; ++i) {
            const Real f = s * rv1_[i];
            rv1_[i] = c * rv1_[i];
            if (std::fabs(f) + norm_ == norm_) break;
            const Real g = w_[i];
            Real h = Hypot(f, g);
            w_[i] = h;
            h = 1 / h;
            c = g * h;
            s = -f * h;
            Rotate(a_, m_, nm, i, c, s);
          }
        }
        const Real z = w_[k];
        if (l == k) {
          if (z < 0) {
            w_[k] = -z;
            for (int j = 0; j < n_; ++j) v_[j][k] = -v_[j][k];
          }
          break;
        }
        if (iteration >= kMaxIterations) return false;
        ShiftStep(l, k);
      }
    }
    return true;
  }

  // One implicit-shift QR step on the bidiagonal block from l to k.
  void ShiftStep(int l, int k) {
    Real x = w_[l];
    const int nm = k - 1;
    Real y = w_[nm];
    Real g = rv1_[nm];
    Real h = rv1_[k];
    const Real z0 = w_[k];
    Real f = ((y - z0) * (y + z0) + (g - h) * (g + h)) / (2 * h * y);
    g = Hypot(f, 1);
    f = ((x - z0) * (x + z0) + h * ((y / (f + WithSign(g, f))) - h)) / x;
    Real c = 1, s = 1;
    for (int j = l; j <= nm; ++j) {
      const int i = j + 1;
      g = rv1_[i];
      y = w_[i];
      h = s * g;
      g = c * g;
      Real z = Hypot(f, h);
      rv1_[j] = z;
      c = f / z;
      s = h / z;
      f = x * c + g * s;
      g = g * c - x * s;
      h = y * s;
      y *= c;
      Rotate(v_, n_, j, i, c, s);
      z = Hypot(f, h);
      w_[j] = z;
      if (z != 0) {
        z = 1 / z;
        c = f * z;
        s = h * z;
      }
      f = c * g + s * y;
      x = c * y - s * g;
      Rotate(a_, m_, j, i, c, s);
    }
    rv1_[l] = 0;
    rv1_[k] = f;
    w_[k] = x;
  }

  std::vector<std::vector<Real>> a_;
  int m_;
  int n_;
  std::vector<Real> w_;
  std::vector<std::vector<Real>> v_;
  std::vector<Real> rv1_;
  Real norm_ = 0;
};

}  // namespace

FitResult PolynomialFit(std::span<const long double> x, std::span<const long double> y, int terms) {
  FitResult result;
  terms = std::clamp(terms, 1, kMaxFitTerms);
  const int n =
      static_cast<int>(std::min({x.size(), y.size(), static_cast<std::size_t>(kMaxFitPoints)}));
  if (n < terms) {
    result.status = FitStatus::NotEnoughRows;
    return result;
  }
  std::vector<std::vector<Real>> design(n, std::vector<Real>(terms));
  for (int i = 0; i < n; ++i) {
    Real power = 1;
    for (int j = 0; j < terms; ++j) {
      design[i][j] = power;
      power *= x[i];
    }
  }
  Decomposition svd(std::move(design), terms);
  if (!svd.Run()) {
    result.status = FitStatus::NoConvergence;
    return result;
  }
  Real largest = 0;
  for (int j = 0; j < terms; ++j) largest = std::max(largest, svd.W(j));
  for (int j = 0; j < terms; ++j) {
    if (svd.W(j) < 1e-19L * largest) svd.W(j) = 0;
  }
  // coefficients = V * diag(1/w) * U^T * y
  std::array<Real, kMaxFitTerms> projected{};
  for (int j = 0; j < terms; ++j) {
    if (svd.W(j) == 0) continue;
    Real s = 0;
    for (int i = 0; i < n; ++i) s += svd.U(i, j) * y[i];
    projected[j] = s / svd.W(j);
  }
  for (int j = 0; j < terms; ++j) {
    Real s = 0;
    for (int k = 0; k < terms; ++k) s += svd.V(j, k) * projected[k];
    result.coefficients[j] = s;
  }
  for (int i = 0; i < n; ++i) {
    Real fitted = 0, power = 1;
    for (int j = 0; j < terms; ++j) {
      fitted += result.coefficients[j] * power;
      power *= x[i];
    }
    result.chiSquare += (y[i] - fitted) * (y[i] - fitted);
  }
  return result;
}

}  // namespace q5480
