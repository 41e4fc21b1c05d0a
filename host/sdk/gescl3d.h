// AcGeScale3d: the three scale factors of a block reference.
#pragma once

class AcGeScale3d {
public:
    AcGeScale3d() = default;
    explicit AcGeScale3d(double factor)
        : sx(factor)
        , sy(factor)
        , sz(factor)
    {
    }
    AcGeScale3d(double xFactor, double yFactor, double zFactor)
        : sx(xFactor)
        , sy(yFactor)
        , sz(zFactor)
    {
    }
    bool operator==(const AcGeScale3d& other) const = default;
    double sx = 1.0;
    double sy = 1.0;
    double sz = 1.0;
};
