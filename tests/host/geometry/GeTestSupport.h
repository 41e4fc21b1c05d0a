// Shared helpers of the geometry tests: tolerant point and vector comparisons with readable failures.
#pragma once

#include <gtest/gtest.h>

#include <ostream>

#include "gepnt3d.h"
#include "gevec3d.h"

inline std::ostream& operator<<(std::ostream& os, const AcGePoint3d& p)
{
    return os << "(" << p.x << ", " << p.y << ", " << p.z << ")";
}

inline std::ostream& operator<<(std::ostream& os, const AcGeVector3d& v)
{
    return os << "<" << v.x << ", " << v.y << ", " << v.z << ">";
}

inline testing::AssertionResult Near(
    const AcGePoint3d& actual, const AcGePoint3d& expected, double tol = 1e-9)
{
    if (actual.distanceTo(expected) <= tol)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << actual << " is not within " << tol << " of " << expected;
}

inline testing::AssertionResult Near(
    const AcGeVector3d& actual, const AcGeVector3d& expected, double tol = 1e-9)
{
    if ((actual - expected).length() <= tol)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << actual << " is not within " << tol << " of " << expected;
}
