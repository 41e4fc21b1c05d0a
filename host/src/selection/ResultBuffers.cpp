// Result-buffer chains: the ADS list functions and the host's helpers around them.
#include "selection/ResultBuffers.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

#include "acutads.h"

namespace arxhost {

namespace {

bool inRange(int code, int first, int last)
{
    return code >= first && code <= last;
}

bool fitsRestype(int code)
{
    return code >= std::numeric_limits<short>::min() && code <= std::numeric_limits<short>::max();
}

ValueKind kindOfAdsCode(int code)
{
    switch (code) {
    case RTSTR:
    case RTDXF0:
        return ValueKind::String;
    case RTREAL:
    case RTANG:
    case RTORINT:
        return ValueKind::Real;
    case RTSHORT:
        return ValueKind::Short;
    case RTLONG:
        return ValueKind::Long;
    case RTPOINT:
    case RT3DPOINT:
        return ValueKind::Point;
    case RTENAME:
    case RTPICKS:
        return ValueKind::EntityName;
    case RTINT64:
    case RTLONG_PTR:
        return ValueKind::Int64;
    default:
        return ValueKind::None;
    }
}

ValueKind kindOfGroupCode(int code)
{
    switch (code) {
    case -1:
    case -2:
        return ValueKind::EntityName;
    case -4:
        return ValueKind::String;
    case 210:
        return ValueKind::Point;
    case 999:
        return ValueKind::String;
    case 1004:
        return ValueKind::Binary;
    case 1071:
        return ValueKind::Long;
    default:
        break;
    }
    struct Range {
        int first;
        int last;
        ValueKind kind;
    };
    static constexpr Range ranges[] = {
        {0, 9, ValueKind::String},
        {10, 17, ValueKind::Point},
        {38, 59, ValueKind::Real},
        {60, 79, ValueKind::Short},
        {90, 99, ValueKind::Long},
        {100, 109, ValueKind::String},
        {110, 112, ValueKind::Point},
        {140, 149, ValueKind::Real},
        {160, 169, ValueKind::Int64},
        {170, 179, ValueKind::Short},
        {270, 299, ValueKind::Short},
        {300, 309, ValueKind::String},
        {310, 319, ValueKind::Binary},
        {320, 329, ValueKind::String},
        {330, 369, ValueKind::EntityName},
        {370, 389, ValueKind::Short},
        {390, 399, ValueKind::EntityName},
        {400, 409, ValueKind::Short},
        {410, 419, ValueKind::String},
        {420, 429, ValueKind::Long},
        {430, 439, ValueKind::String},
        {440, 459, ValueKind::Long},
        {460, 469, ValueKind::Real},
        {470, 479, ValueKind::String},
        {480, 481, ValueKind::EntityName},
        {1000, 1003, ValueKind::String},
        {1005, 1009, ValueKind::String},
        {1010, 1013, ValueKind::Point},
        {1040, 1042, ValueKind::Real},
        {1060, 1070, ValueKind::Short},
    };
    for (const Range& range : ranges) {
        if (inRange(code, range.first, range.last))
            return range.kind;
    }
    return ValueKind::None;
}

char* copyBytes(const char* bytes, short length)
{
    const auto size = static_cast<std::size_t>(std::max<short>(length, 0));
    auto* copy = new char[size == 0 ? 1 : size];
    if (bytes != nullptr)
        std::copy_n(bytes, size, copy);
    return copy;
}

// Copies the value of `from` into the freshly allocated node `to` of the same type code.
void copyValue(const resbuf& from, resbuf& to)
{
    switch (valueKindOf(from.restype)) {
    case ValueKind::String:
        to.resval.rstring = from.resval.rstring == nullptr ? nullptr : allocateString(from.resval.rstring);
        break;
    case ValueKind::Binary:
        to.resval.rbinary.clen = from.resval.rbinary.clen;
        to.resval.rbinary.buf = from.resval.rbinary.buf == nullptr
            ? nullptr
            : copyBytes(from.resval.rbinary.buf, from.resval.rbinary.clen);
        break;
    default:
        // Every other kind is plain data; the union is copied whole.
        to.resval = from.resval;
        break;
    }
}

void appendReal(std::wstring& out, double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendHex(std::wstring& out, unsigned long long value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    out.append(buffer, result.ptr);
}

void appendQuoted(std::wstring& out, const ACHAR* text)
{
    if (text == nullptr) {
        out += L"<null>";
        return;
    }
    out += L'"';
    for (const ACHAR* c = text; *c != 0; ++c) {
        if (*c == L'"' || *c == L'\\')
            out += L'\\';
        out += *c;
    }
    out += L'"';
}

void appendNode(std::wstring& out, const resbuf& rb)
{
    out += L'(';
    out += std::to_wstring(rb.restype);
    switch (valueKindOf(rb.restype)) {
    case ValueKind::String:
        out += L" . ";
        appendQuoted(out, rb.resval.rstring);
        break;
    case ValueKind::Real:
        out += L" . ";
        appendReal(out, rb.resval.rreal);
        break;
    case ValueKind::Short:
        out += L" . " + std::to_wstring(rb.resval.rint);
        break;
    case ValueKind::Long:
        out += L" . " + std::to_wstring(rb.resval.rlong);
        break;
    case ValueKind::Int64:
        out += L" . " + std::to_wstring(rb.resval.mnInt64);
        break;
    case ValueKind::Point:
        for (double coordinate : rb.resval.rpoint) {
            out += L' ';
            appendReal(out, coordinate);
        }
        break;
    case ValueKind::EntityName:
        out += L" . <Entity name: ";
        appendHex(out, static_cast<unsigned long long>(rb.resval.rlname[0]));
        out += L'>';
        break;
    case ValueKind::Binary: {
        out += L" . <binary";
        const short length = rb.resval.rbinary.buf == nullptr ? 0 : rb.resval.rbinary.clen;
        for (short i = 0; i < length; ++i) {
            const auto byte = static_cast<unsigned char>(rb.resval.rbinary.buf[i]);
            out += byte < 16 ? L" 0" : L" ";
            appendHex(out, byte);
        }
        out += L'>';
        break;
    }
    case ValueKind::None:
        if (!isValuelessCode(rb.restype))
            out += L" ?";
        break;
    }
    out += L')';
}

} // namespace

ValueKind valueKindOf(int typeCode)
{
    return typeCode >= RTNONE ? kindOfAdsCode(typeCode) : kindOfGroupCode(typeCode);
}

bool isValuelessCode(int typeCode)
{
    switch (typeCode) {
    case RTLB:
    case RTLE:
    case RTDOTE:
    case RTNIL:
    case RTT:
    case RTVOID:
    case -3:
        return true;
    default:
        return false;
    }
}

ACHAR* allocateString(std::wstring_view text)
{
    auto* copy = new ACHAR[text.size() + 1];
    text.copy(copy, text.size());
    copy[text.size()] = 0;
    return copy;
}

void releaseString(ACHAR* text) noexcept
{
    delete[] text;
}

void setString(resbuf* rb, std::wstring_view text)
{
    ACHAR* copy = allocateString(text);
    releaseString(rb->resval.rstring);
    rb->resval.rstring = copy;
}

resbuf* duplicateChain(const resbuf* chain)
{
    ResbufChain head;
    resbuf* tail = nullptr;
    for (const resbuf* rb = chain; rb != nullptr; rb = rb->rbnext) {
        ResbufChain node(new resbuf {});
        node->restype = rb->restype;
        copyValue(*rb, *node);
        resbuf* added = node.release();
        if (tail == nullptr)
            head.reset(added);
        else
            tail->rbnext = added;
        tail = added;
    }
    return head.release();
}

int chainLength(const resbuf* chain) noexcept
{
    int length = 0;
    for (const resbuf* rb = chain; rb != nullptr; rb = rb->rbnext)
        ++length;
    return length;
}

void ResbufChainDeleter::operator()(resbuf* chain) const noexcept
{
    acutRelRb(chain);
}

resbuf* buildListFromArgs(int firstType, va_list args)
{
    ResbufChain head;
    resbuf* tail = nullptr;
    for (int code = firstType; code != 0 && code != RTNONE; code = va_arg(args, int)) {
        const ValueKind kind = valueKindOf(code);
        if (!fitsRestype(code) || (kind == ValueKind::None && !isValuelessCode(code)))
            return nullptr;
        ResbufChain node(new resbuf {});
        node->restype = static_cast<short>(code);
        ads_u_val& value = node->resval;
        switch (kind) {
        case ValueKind::String: {
            const ACHAR* text = va_arg(args, const ACHAR*);
            value.rstring = allocateString(text == nullptr ? L"" : text);
            break;
        }
        case ValueKind::Real:
            value.rreal = va_arg(args, double);
            break;
        case ValueKind::Short:
            value.rint = static_cast<short>(va_arg(args, int));
            break;
        case ValueKind::Long:
            value.rlong = va_arg(args, Adesk::Int32);
            break;
        case ValueKind::Int64:
            value.mnInt64 = va_arg(args, __int64);
            break;
        case ValueKind::Point: {
            const ads_real* point = va_arg(args, const ads_real*);
            if (point == nullptr)
                return nullptr;
            std::copy_n(point, 3, value.rpoint);
            break;
        }
        case ValueKind::EntityName: {
            const __int64* name = va_arg(args, const __int64*);
            if (name == nullptr)
                return nullptr;
            std::copy_n(name, 2, value.rlname);
            break;
        }
        case ValueKind::Binary: {
            const ads_binary* chunk = va_arg(args, const ads_binary*);
            if (chunk == nullptr)
                return nullptr;
            value.rbinary.clen = chunk->clen;
            value.rbinary.buf = copyBytes(chunk->buf, chunk->clen);
            break;
        }
        case ValueKind::None:
            break;
        }
        resbuf* added = node.release();
        if (tail == nullptr)
            head.reset(added);
        else
            tail->rbnext = added;
        tail = added;
    }
    return head.release();
}

std::wstring describe(const resbuf* chain)
{
    if (chain == nullptr)
        return L"nil";
    std::wstring out = L"(";
    for (const resbuf* rb = chain; rb != nullptr; rb = rb->rbnext) {
        if (rb != chain)
            out += L' ';
        appendNode(out, *rb);
    }
    out += L')';
    return out;
}

} // namespace arxhost

// The SDK's C interface over the helpers above.

resbuf* acutBuildList(int rtype, ...)
{
    va_list args;
    va_start(args, rtype);
    resbuf* list = arxhost::buildListFromArgs(rtype, args);
    va_end(args);
    return list;
}

resbuf* acutNewRb(int v)
{
    if (v < std::numeric_limits<short>::min() || v > std::numeric_limits<short>::max())
        return nullptr;
    auto* rb = new resbuf {};
    rb->restype = static_cast<short>(v);
    return rb;
}

int acutRelRb(resbuf* rb)
{
    while (rb != nullptr) {
        resbuf* next = rb->rbnext;
        switch (arxhost::valueKindOf(rb->restype)) {
        case arxhost::ValueKind::String:
            arxhost::releaseString(rb->resval.rstring);
            break;
        case arxhost::ValueKind::Binary:
            delete[] rb->resval.rbinary.buf;
            break;
        default:
            break;
        }
        delete rb;
        rb = next;
    }
    return RTNORM;
}
