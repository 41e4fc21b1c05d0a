// The file utility library of the product family: ini files, the common folder, file tests and paths.
#pragma once

#include <memory>

#include "afx.h"
#include "afxcoll.h"

namespace daroviz {

// An ini file read whole into memory: "[section]" lines, "key=value" lines, comment lines beginning
// with ';' or '#', blank lines. Read as UTF-8 (a byte-order mark is skipped) or as UTF-16 when the
// file begins with a UTF-16 byte-order mark. Section and key names compare without regard to case;
// names and values are trimmed of blanks, and a value wrapped in double quotes loses the quotes.
class CIniFile {
public:
    CIniFile();
    ~CIniFile();
    CIniFile(const CIniFile& other);
    CIniFile& operator=(const CIniFile& other);

    // The file to read; a backslash counts as a folder separator.
    void SetPath(CString path);
    CString GetPath() const;
    // Reads the file, replacing what an earlier read held. 1 on success; 0 (and nothing held) when the
    // file is missing or unreadable.
    int ReadFile();
    // The value of `key` in `section`: the first such entry when the key is repeated; empty when
    // there is none.
    CString GetValue(CString section, CString key) const;
    // The entries of `section` in file order (repeated keys included): keys into `keys`, values into
    // `values`, both emptied first. 1 when the section exists (even without entries), else 0.
    int GetValue(CString section, CStringArray& keys, CStringArray& values) const;

private:
    struct Data;
    CString m_strPath;
    std::unique_ptr<Data> m_data;
};

// The product family's common folder (the configuration root's "common" folder), ending with a
// separator; empty when no configuration root is set.
CString FGetCADCommonFilePath();

// 1 when a file (not a folder) exists at `path`; a backslash counts as a folder separator.
int FileExist(CString path);

} // namespace daroviz

namespace fgdutil {

// Makes a non-empty folder path end with a separator: nothing changes when it ends with '\' or '/';
// otherwise '\' is added when the path is written with backslashes only, '/' in every other case.
void ConfirmBackslash(CString& path);

} // namespace fgdutil
