// The custom parameter store of the product family: a drawing's named parameters and its text helpers.
#pragma once

#include "afx.h"
#include "dbid.h"
#include "gepnt3d.h"

class AcDbDatabase;

// A free-form parameter: its value as text and two integer codes (the first is a resbuf type code such
// as 5001 for a real, the second a set of flags); the store keeps them as given.
struct OTHERPARAM {
    CString strValue;
    int nCode1 = 0;
    int nCode2 = 1023;
};

// How texts of one kind are drawn.
struct TEXTPARAM {
    double dHeight = 3.0;
    CString strTextStyle = L"st";
    int nColor = 256;
    CString strLayer = L"0";
    CString strLineType = L"ByLayer";
};

// The layer that one role of entities goes on.
struct LAYERPARAM {
    CString strName = L"0";
    int nColor = 7;
    CString strLineType = L"CONTINUOUS";
    int nFlag = 1023;
};

// A layer role with the text style and height of the annotations drawn on it.
struct LAYERPARAM2013EX : LAYERPARAM {
    CString strTextStyle = L"Standard";
    double dTextHeight = 0.0;
};

namespace TarnDB {

// The parameter store of one drawing. It lives in the drawing (named object dictionary
// "QV_CUSTOM_PARAMS" with the dictionaries "OTHER", "TEXT" and "LAYER"), so it is saved and reopened
// with the drawing. Keys are used as given (Chinese texts included). Reads that find nothing return 0
// and leave the caller's record as prepared; writes create the dictionaries on first use.
class CCustomDatabase {
public:
    explicit CCustomDatabase(AcDbDatabase* db);

    // The drawing this store belongs to.
    AcDbDatabase* database() const { return mDb; }

    int GetOtherCustomParam(const CString& key, OTHERPARAM* param);
    int SetOtherCustomParam(const CString& key, OTHERPARAM* param);
    int GetTextCustomParam(const CString& key, TEXTPARAM* param);
    int SetTextCustomParam(const CString& key, TEXTPARAM* param);
    int GetLayerCustomParam(const CString& key, LAYERPARAM* param);
    int SetLayerCustomParam(const CString& key, LAYERPARAM* param);
    // The extended layer record shares the "LAYER" entry; a record stored without the extension reads
    // back with the caller's text style and height untouched.
    int GetLayerCustomParam(const CString& key, LAYERPARAM2013EX* param);
    int SetLayerCustomParam(const CString& key, LAYERPARAM2013EX* param);

private:
    AcDbDatabase* mDb;
};

// The store of the current drawing (the working database), made on first use; null without a drawing.
CCustomDatabase* qvGetQvCustomDatabase();
CCustomDatabase* qvGetCustomDatabase();
// The store of a given drawing.
CCustomDatabase* qvGetCustomDatabase(AcDbDatabase* db);

// Layer parameters. A null store is the current drawing's. 1 when the key exists (a read) or was
// written. `bCreate` 1 on a read: a key the drawing lacks but the store has a default for (the layer
// roles of the road tools and of their annotations) is first written with that default. The layer
// itself is never created here. On a write `bCreate` changes nothing.
int qvGetLayerParam(const CString& key, LAYERPARAM& param, CCustomDatabase* db = nullptr);
int qvGetLayerParam(const CString& key, LAYERPARAM& param, int bCreate, CCustomDatabase* db);
// `bTextStyle` 1: read (write) the text style; `bTextHeight` 1: read (write) the text height. A field
// left out of a write keeps what the entry held.
int qvGetLayerParam(const CString& key, LAYERPARAM2013EX& param, int bCreate, int bTextStyle, int bTextHeight,
    CCustomDatabase* db);
int qvSetLayerParam(const CString& key, LAYERPARAM& param, CCustomDatabase* db = nullptr);
int qvSetLayerParam(const CString& key, LAYERPARAM& param, int bCreate, CCustomDatabase* db);
int qvSetLayerParam(const CString& key, LAYERPARAM2013EX& param, int bCreate, int bTextStyle, int bTextHeight,
    CCustomDatabase* db);
// The default the store knows for a layer parameter key; 1 when it knows one (param untouched if not).
int qvGetDefaultLayerParam(const CString& key, LAYERPARAM& param);

// Text parameters. A null store is the current drawing's. 1 when the key exists (or was written).
int qvGetTextParam(const CString& key, TEXTPARAM& param, CCustomDatabase* db = nullptr);
int qvSetTextParam(const CString& key, TEXTPARAM& param, CCustomDatabase* db = nullptr);

// Other parameters. A null store is the current drawing's. 1 when the key exists (or was written).
int qvGetOtherParam(const CString& key, OTHERPARAM& param, CCustomDatabase* db = nullptr);
int qvSetOtherParam(const CString& key, OTHERPARAM& param, CCustomDatabase* db = nullptr);

// The text style of that name in the current drawing; null id when there is none.
AcDbObjectId qvGetTextStyle(const CString& name);
// Creates the text style (font "txt.shx", big font "gbcbig.shx", free height) in the current drawing
// and returns its id; an existing style of that name is returned as it is. Null id on failure.
AcDbObjectId qvCreateTextStyle(const CString& name);

// Draws a single-line text in the current space of the current drawing at `point` (world
// coordinates), rotated by `rotation` (radians), aligned by `horzMode`/`vertMode` (AcDb::TextHorzMode
// and AcDb::TextVertMode values; 1, 1: centred, standing on the point). The record
// gives height, text style (the drawing's current style when it has none of that name), colour,
// layer (created when missing) and linetype. 1 with the new text's id.
int qvCreateTextEx(const AcGePoint3d& point, const CString& text, double rotation, int horzMode, int vertMode,
    const TEXTPARAM& param, AcDbObjectId& id);

} // namespace TarnDB

namespace TarnCad {
namespace Fun {
// The folder remembered for exports (other parameter "导出文件路径" of the current drawing's store).
// 1 with the folder when one is remembered and not empty; 0 (folder untouched) otherwise.
int FGetVROutFilePath(CString& folder);
// Remembers the folder for the next export. 1 on success.
int FSetVROutFilePath(const CString& folder);
} // namespace Fun
} // namespace TarnCad
