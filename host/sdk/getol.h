// AcGeTol: the two tolerances every geometric comparison of the host takes, for points and for vectors.
#pragma once

class AcGeTol {
public:
    constexpr AcGeTol() = default;

    double equalPoint() const { return mEqualPoint; }
    double equalVector() const { return mEqualVector; }
    void setEqualPoint(double val) { mEqualPoint = val; }
    void setEqualVector(double val) { mEqualVector = val; }

private:
    double mEqualPoint = 1e-10;
    double mEqualVector = 1e-12;
};
