// The open drawing's editor state.
#include "session/DocumentState.h"

#include <cmath>
#include <filesystem>

#include "db/DatabaseImpl.h"
#include "text/Utf8.h"

namespace arxhost {

DocumentState::DocumentState()
    : mDatabase(std::make_unique<AcDbDatabase>())
{
}

DocumentState::~DocumentState() = default;

void DocumentState::replace(std::unique_ptr<AcDbDatabase> db, const std::wstring& fileName)
{
    mSelections.clear();
    mDatabase = std::move(db);
    mFileName = fileName;
    mDatabase->updateExt();
    AcGePoint3d lo = mDatabase->extmin();
    AcGePoint3d hi = mDatabase->extmax();
    if (lo.x <= hi.x && lo.y <= hi.y) {
        double height
            = std::max(hi.y - lo.y, (hi.x - lo.x) * ViewState::kScreenHeight / ViewState::kScreenWidth);
        mView.reset(AcGePoint3d((lo.x + hi.x) / 2, (lo.y + hi.y) / 2, 0), height > 0 ? height * 1.02 : 297);
    } else {
        mView.reset(AcGePoint3d(210, 148.5, 0), 297);
    }
}

std::wstring DocumentState::drawingName() const
{
    if (mFileName.empty())
        return L"Drawing1.dwg";
    // Worked on as text: path's wide conversions depend on the process locale.
    const std::size_t slash = mFileName.find_last_of(L'/');
    return slash == std::wstring::npos ? mFileName : mFileName.substr(slash + 1);
}

std::wstring DocumentState::drawingFolder() const
{
    if (mFileName.empty())
        return L"";
    const std::filesystem::path absolute
        = std::filesystem::absolute(std::filesystem::path(arxhost::toUtf8(mFileName)));
    std::wstring folder = arxhost::fromUtf8(absolute.parent_path().string());
    if (!folder.empty() && folder.back() != L'/')
        folder += L'/';
    return folder;
}

AcGePoint3d DocumentState::ucsToWcs(const AcGePoint3d& p) const
{
    AcGePoint3d o = mDatabase->ucsorg();
    AcGeVector3d x = mDatabase->ucsxdir();
    AcGeVector3d y = mDatabase->ucsydir();
    AcGeVector3d z = x.crossProduct(y);
    return o + x * p.x + y * p.y + z * p.z;
}

AcGeVector3d DocumentState::ucsToWcs(const AcGeVector3d& v) const
{
    AcGeVector3d x = mDatabase->ucsxdir();
    AcGeVector3d y = mDatabase->ucsydir();
    return x * v.x + y * v.y + x.crossProduct(y) * v.z;
}

AcGePoint3d DocumentState::wcsToUcs(const AcGePoint3d& p) const
{
    AcGeVector3d d = p - mDatabase->ucsorg();
    AcGeVector3d x = mDatabase->ucsxdir();
    AcGeVector3d y = mDatabase->ucsydir();
    return AcGePoint3d(d.dotProduct(x), d.dotProduct(y), d.dotProduct(x.crossProduct(y)));
}

double DocumentState::ucsAngle() const
{
    AcGeVector3d x = mDatabase->ucsxdir();
    return std::atan2(x.y, x.x);
}

} // namespace arxhost
