// AcArray, the host's growable array: logical length, growth and the usual list operations.
#pragma once

#include <algorithm>
#include <cassert>
#include <utility>
#include <vector>

template <class T> class AcArray {
public:
    explicit AcArray(int initPhysicalLength = 0, int initGrowLength = 8)
        : mGrowLength(initGrowLength)
    {
        if (initPhysicalLength > 0)
            mData.reserve(static_cast<std::size_t>(initPhysicalLength));
    }
    AcArray(const AcArray&) = default;
    AcArray(AcArray&&) noexcept = default;
    AcArray& operator=(const AcArray&) = default;
    AcArray& operator=(AcArray&&) noexcept = default;
    ~AcArray() = default;

    bool operator==(const AcArray& other) const { return mData == other.mData; }

    T& operator[](int i) { return at(i); }
    const T& operator[](int i) const { return at(i); }
    T& at(int i)
    {
        assert(isValid(i));
        return mData[static_cast<std::size_t>(i)];
    }
    const T& at(int i) const
    {
        assert(isValid(i));
        return mData[static_cast<std::size_t>(i)];
    }
    AcArray& setAt(int i, const T& value)
    {
        at(i) = value;
        return *this;
    }
    T& first() { return at(0); }
    const T& first() const { return at(0); }
    T& last() { return at(length() - 1); }
    const T& last() const { return at(length() - 1); }

    int append(const T& value)
    {
        mData.push_back(value);
        return length() - 1;
    }
    AcArray& append(const AcArray& other)
    {
        mData.insert(mData.end(), other.mData.begin(), other.mData.end());
        return *this;
    }
    AcArray& insertAt(int index, const T& value)
    {
        assert(index >= 0 && index <= length());
        mData.insert(mData.begin() + index, value);
        return *this;
    }
    AcArray& removeAt(int index)
    {
        assert(isValid(index));
        mData.erase(mData.begin() + index);
        return *this;
    }
    bool remove(const T& value, int start = 0)
    {
        int at = 0;
        if (!find(value, at, start))
            return false;
        removeAt(at);
        return true;
    }
    AcArray& removeFirst() { return removeAt(0); }
    AcArray& removeLast() { return removeAt(length() - 1); }
    AcArray& removeAll()
    {
        mData.clear();
        return *this;
    }
    AcArray& removeSubArray(int startIndex, int endIndex)
    {
        assert(isValid(startIndex) && isValid(endIndex) && startIndex <= endIndex);
        mData.erase(mData.begin() + startIndex, mData.begin() + endIndex + 1);
        return *this;
    }

    bool contains(const T& value, int start = 0) const
    {
        int at = 0;
        return find(value, at, start);
    }
    bool find(const T& value, int& foundAt, int start = 0) const
    {
        for (int i = std::max(start, 0); i < length(); ++i) {
            if (mData[static_cast<std::size_t>(i)] == value) {
                foundAt = i;
                return true;
            }
        }
        return false;
    }
    int find(const T& value) const
    {
        int at = -1;
        return find(value, at) ? at : -1;
    }
    int findFrom(const T& value, int start) const
    {
        int at = -1;
        return find(value, at, start) ? at : -1;
    }

    int length() const { return static_cast<int>(mData.size()); }
    int logicalLength() const { return length(); }
    int physicalLength() const { return static_cast<int>(mData.capacity()); }
    bool isEmpty() const { return mData.empty(); }
    int growLength() const { return mGrowLength; }
    AcArray& setGrowLength(int n)
    {
        mGrowLength = n;
        return *this;
    }
    AcArray& setLogicalLength(int n)
    {
        mData.resize(static_cast<std::size_t>(std::max(n, 0)));
        return *this;
    }
    AcArray& setPhysicalLength(int n)
    {
        if (n < length())
            mData.resize(static_cast<std::size_t>(std::max(n, 0)));
        mData.reserve(static_cast<std::size_t>(std::max(n, 0)));
        return *this;
    }
    AcArray& reverse()
    {
        std::reverse(mData.begin(), mData.end());
        return *this;
    }
    AcArray& swap(int i1, int i2)
    {
        std::swap(at(i1), at(i2));
        return *this;
    }
    bool isValid(int i) const { return i >= 0 && i < length(); }

    T* asArrayPtr() { return mData.data(); }
    const T* asArrayPtr() const { return mData.data(); }

    // Range support for the host's own code.
    auto begin() { return mData.begin(); }
    auto end() { return mData.end(); }
    auto begin() const { return mData.begin(); }
    auto end() const { return mData.end(); }

private:
    std::vector<T> mData;
    int mGrowLength = 8;
};
