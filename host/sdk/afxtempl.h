// CArray: MFC's growable array template, indexed by INT_PTR.
#pragma once

#include <algorithm>
#include <stdexcept>
#include <type_traits>
#include <vector>

#include "afxstr.h"
#include "windows.h"

// Elements live in one contiguous block (GetData). Out-of-range indexes and negative sizes or
// counts throw std::out_of_range / std::invalid_argument where MFC throws its invalid-argument
// exception. The growth hint of SetSize is accepted and ignored. Unlike MFC's, the array can be
// copied by value; Copy and Append remain the MFC way.
template <class TYPE, class ARG_TYPE = const TYPE&> class CArray {
    static_assert(!std::is_same_v<TYPE, bool>, "CArray<bool> cannot hand out element references");

public:
    CArray() = default;

    INT_PTR GetSize() const noexcept { return static_cast<INT_PTR>(mData.size()); }
    INT_PTR GetCount() const noexcept { return GetSize(); }
    INT_PTR GetUpperBound() const noexcept { return GetSize() - 1; }
    BOOL IsEmpty() const noexcept { return mData.empty() ? TRUE : FALSE; }

    // Resizes to nNewSize elements; new ones are value-initialised.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        (void)nGrowBy;
        if (nNewSize < 0)
            throw std::invalid_argument("CArray::SetSize: negative size");
        mData.resize(static_cast<std::size_t>(nNewSize));
    }
    void FreeExtra() { mData.shrink_to_fit(); }
    void RemoveAll() noexcept { mData.clear(); }

    const TYPE& GetAt(INT_PTR nIndex) const { return mData[checked(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return mData[checked(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { mData[checked(nIndex)] = newElement; }
    TYPE& ElementAt(INT_PTR nIndex) { return mData[checked(nIndex)]; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return mData[checked(nIndex)]; }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }

    const TYPE* GetData() const noexcept { return mData.empty() ? nullptr : mData.data(); }
    TYPE* GetData() noexcept { return mData.empty() ? nullptr : mData.data(); }

    // Sets the element, first growing the array when nIndex is past its end.
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0)
            throw std::invalid_argument("CArray::SetAtGrow: negative index");
        if (nIndex >= GetSize()) {
            TYPE copy(newElement); // newElement may refer into the array
            SetSize(nIndex + 1);
            mData[static_cast<std::size_t>(nIndex)] = std::move(copy);
            return;
        }
        mData[static_cast<std::size_t>(nIndex)] = newElement;
    }
    // Returns the index of the new element.
    INT_PTR Add(ARG_TYPE newElement)
    {
        mData.push_back(newElement);
        return GetSize() - 1;
    }
    // Appends the other array's elements; returns the index of the first of them.
    INT_PTR Append(const CArray& src)
    {
        const INT_PTR first = GetSize();
        if (&src == this) {
            const std::vector<TYPE> copy(mData);
            mData.insert(mData.end(), copy.begin(), copy.end());
        } else {
            mData.insert(mData.end(), src.mData.begin(), src.mData.end());
        }
        return first;
    }
    void Copy(const CArray& src)
    {
        if (&src != this)
            mData = src.mData;
    }

    // Inserts nCount copies at nIndex; an index past the end first grows the array to it.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount < 0)
            throw std::invalid_argument("CArray::InsertAt: negative index or count");
        TYPE copy(newElement);
        if (nIndex > GetSize())
            SetSize(nIndex);
        mData.insert(mData.begin() + nIndex, static_cast<std::size_t>(nCount), copy);
    }
    void InsertAt(INT_PTR nStartIndex, CArray* pNewArray)
    {
        if (pNewArray == nullptr || nStartIndex < 0)
            throw std::invalid_argument("CArray::InsertAt: null array or negative index");
        const std::vector<TYPE> copy(pNewArray->mData);
        if (nStartIndex > GetSize())
            SetSize(nStartIndex);
        mData.insert(mData.begin() + nStartIndex, copy.begin(), copy.end());
    }
    // Removes nCount elements from nIndex; the whole range must lie inside the array.
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount < 0 || nCount > GetSize() - nIndex)
            throw std::out_of_range("CArray::RemoveAt: range outside the array");
        mData.erase(mData.begin() + nIndex, mData.begin() + nIndex + nCount);
    }

private:
    std::size_t checked(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= GetSize())
            throw std::out_of_range("CArray: index out of range");
        return static_cast<std::size_t>(nIndex);
    }

    std::vector<TYPE> mData;
};
