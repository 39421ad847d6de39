// Least-squares polynomial fit by singular value decomposition.
#pragma once

#include <array>
#include <span>

namespace q5480 {

inline constexpr int kMaxFitTerms = 3;
inline constexpr int kMaxFitPoints = 100;

enum class FitStatus { Ok, NotEnoughRows, NoConvergence };

struct FitResult {
  FitStatus status = FitStatus::Ok;
  std::array<long double, kMaxFitTerms> coefficients{};  // constant first
  long double chiSquare = 0;
};

// Fits c0 + c1*x + ... with `terms` coefficients (cut to 3) to the points
// (cut to 100). The decomposition is Golub-Reinsch: Householder reduction to
// bidiagonal form and implicit-shift QR, at most 30 iterations per singular
// value. Singular values below 1e-19 of the largest are dropped.
FitResult PolynomialFit(std::span<const long double> x, std::span<const long double> y, int terms);

}  // namespace q5480
