// The intersection standards of the road base library: the corner-cut standard for two meeting roads.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "afx.h"

// The standards file is an ini file in UTF-8. Section [道路等级] gives each road class the lowest road
// width (m) of the class ("次干路=24"); a width belongs to the class with the greatest lower bound not
// above it. Section [切角标准] gives the standard value (m) for two classes ("主干路-次干路=15"), in
// either order. Lines starting with ";" or "#" and blank lines are ignored, as are lines that are not
// "name=number".
class CQvRoadJckData {
public:
    // Reads the file (backslashes in the path count as folder separators), replacing what was read before.
    // 1 when the file was read; 0 when it cannot be read, which leaves no classes and no standards.
    int ReadFromFile(const CString& path);
    // Classifies both widths and looks up the standard of the pair. Nonzero with `radius` set; 0 with
    // `radius` untouched when a width has no class or the pair has no standard.
    int GetRoadRadium(double w1, double w2, double& radius) const;

private:
    struct Grade {
        std::wstring name;
        double lowestWidth = 0.0;
    };
    const Grade* gradeOf(double width) const;

    std::vector<Grade> m_grades;
    std::map<std::wstring, double> m_standards; // key "class-class" as written in the file
};
