// The planning settings library's folders: the product root and the files of the planning standards.
#pragma once

#include "afx.h"

namespace QV_PATH {

// The product family's configuration root, ending with a separator; empty when no root is set.
// Files below it may be named with backslashes ("config\jckdata.ss"): the file functions of the
// family take them as separators.
CString FGetCommonQVCADPath();

} // namespace QV_PATH

class CTarnDataSet {
public:
    // The planning standard of the current drawing: the other parameter "规划标准" of its custom
    // parameter store; "国标" when the drawing names none.
    static CString FGetStandardName();
    // The file ROOT/standards/STANDARD/FOLDER/NAME (FOLDER may end with a separator, backslashes
    // count as separators). `bMustExist` nonzero: 1 with `path` set when the file exists, else 0 and
    // `path` untouched; zero: the path is composed and returned with 1 whether or not the file exists.
    // 0 when no configuration root is set or the standard is empty.
    static int FGetGStandardOneFilePath(
        CString& path, CString folder, CString fileName, CString standardName, int bMustExist);
};
