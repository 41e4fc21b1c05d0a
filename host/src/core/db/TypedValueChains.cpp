// Conversion between result-buffer chains and stored group-coded values.
#include "db/TypedValueChains.h"

#include "acutads.h"
#include "core/StringCopy.h"
#include "dbmain.h"
#include "selection/ResultBuffers.h"

namespace arxhost {

resbuf* toResbufChain(const TypedValues& values)
{
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    for (const TypedValue& value : values) {
        resbuf* rb = acutNewRb(value.code);
        if (rb == nullptr)
            continue;
        std::visit(
            [rb](const auto& v) {
                using V = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<V, std::wstring>) {
                    rb->resval.rstring = copyForCaller(v);
                } else if constexpr (std::is_same_v<V, double>) {
                    rb->resval.rreal = v;
                } else if constexpr (std::is_same_v<V, std::int64_t>) {
                    switch (valueKindOf(rb->restype)) {
                    case ValueKind::Short:
                        rb->resval.rint = static_cast<short>(v);
                        break;
                    case ValueKind::Long:
                        rb->resval.rlong = static_cast<Adesk::Int32>(v);
                        break;
                    default:
                        rb->resval.mnInt64 = v;
                        break;
                    }
                } else if constexpr (std::is_same_v<V, TypedValue::Point>) {
                    rb->resval.rpoint[0] = v[0];
                    rb->resval.rpoint[1] = v[1];
                    rb->resval.rpoint[2] = v[2];
                } else if constexpr (std::is_same_v<V, AcDbObjectId>) {
                    ads_name name;
                    acdbGetAdsName(name, v);
                    rb->resval.rlname[0] = name[0];
                    rb->resval.rlname[1] = name[1];
                } else if constexpr (std::is_same_v<V, TypedValue::Binary>) {
                    rb->resval.rbinary.clen = static_cast<short>(v.size());
                    rb->resval.rbinary.buf = new char[v.size() == 0 ? 1 : v.size()];
                    for (std::size_t i = 0; i < v.size(); ++i)
                        rb->resval.rbinary.buf[i] = static_cast<char>(v[i]);
                }
            },
            value.value);
        if (tail == nullptr)
            head = rb;
        else
            tail->rbnext = rb;
        tail = rb;
    }
    return head;
}

bool fromResbufChain(const resbuf* chain, TypedValues& out, short& badCode)
{
    out.clear();
    for (const resbuf* rb = chain; rb != nullptr; rb = rb->rbnext) {
        TypedValue value;
        value.code = rb->restype;
        switch (valueKindOf(rb->restype)) {
        case ValueKind::String:
            value.value = std::wstring(rb->resval.rstring == nullptr ? L"" : rb->resval.rstring);
            break;
        case ValueKind::Real:
            value.value = rb->resval.rreal;
            break;
        case ValueKind::Short:
            value.value = static_cast<std::int64_t>(rb->resval.rint);
            break;
        case ValueKind::Long:
            value.value = static_cast<std::int64_t>(rb->resval.rlong);
            break;
        case ValueKind::Int64:
            value.value = static_cast<std::int64_t>(rb->resval.mnInt64);
            break;
        case ValueKind::Point:
            value.value
                = TypedValue::Point {rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]};
            break;
        case ValueKind::EntityName: {
            AcDbObjectId id;
            ads_name name = {rb->resval.rlname[0], rb->resval.rlname[1]};
            acdbGetObjectId(id, name);
            value.value = id;
            break;
        }
        case ValueKind::Binary: {
            TypedValue::Binary bytes;
            for (short i = 0; i < rb->resval.rbinary.clen; ++i)
                bytes.push_back(static_cast<unsigned char>(rb->resval.rbinary.buf[i]));
            value.value = std::move(bytes);
            break;
        }
        case ValueKind::None:
        default:
            badCode = rb->restype;
            return false;
        }
        out.push_back(std::move(value));
    }
    return true;
}

} // namespace arxhost
