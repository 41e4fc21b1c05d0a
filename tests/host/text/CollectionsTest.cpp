// Tests of CStringArray and CArray: growth, insertion, removal, copies and index checks.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "afxcoll.h"
#include "afxtempl.h"

namespace {

std::vector<std::wstring> contents(const CStringArray& a)
{
    std::vector<std::wstring> out;
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        out.emplace_back(a.GetAt(i).GetString());
    return out;
}

struct Station {
    double chainage = 0;
    int code = 0;
};

} // namespace

TEST(CStringArray, AddInsertRemove)
{
    CStringArray a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.Add(L"K0"), 0);
    EXPECT_EQ(a.Add(CString(L"K2")), 1);
    EXPECT_EQ(a.GetUpperBound(), 1);
    a.InsertAt(1, L"K1");
    a.InsertAt(5, L"K9", 2); // past the end: grows with empty strings first
    EXPECT_EQ(contents(a), (std::vector<std::wstring> {L"K0", L"K1", L"K2", L"", L"", L"K9", L"K9"}));
    a.RemoveAt(3, 2);
    a.RemoveAt(4);
    EXPECT_EQ(contents(a), (std::vector<std::wstring> {L"K0", L"K1", L"K2", L"K9"}));
    a[0] = L"\u8d77\u70b9";
    a.SetAt(3, L"\u7ec8\u70b9");
    a.ElementAt(1) += L"+500";
    EXPECT_EQ(contents(a), (std::vector<std::wstring> {L"\u8d77\u70b9", L"K1+500", L"K2", L"\u7ec8\u70b9"}));
    EXPECT_EQ(a.GetCount(), 4);
    a.RemoveAll();
    EXPECT_EQ(a.GetSize(), 0);
}

TEST(CStringArray, AppendCopyAndSetSize)
{
    CStringArray a;
    a.Add(L"a");
    a.Add(L"b");
    CStringArray b;
    b.Add(L"c");
    EXPECT_EQ(b.Append(a), 1); // index of the first appended element
    EXPECT_EQ(contents(b), (std::vector<std::wstring> {L"c", L"a", L"b"}));
    EXPECT_EQ(b.Append(b), 3); // appending itself doubles it
    EXPECT_EQ(b.GetSize(), 6);
    b.Copy(a);
    EXPECT_EQ(contents(b), contents(a));
    b.Copy(b);
    EXPECT_EQ(contents(b), contents(a));
    b.SetSize(4);
    EXPECT_EQ(contents(b), (std::vector<std::wstring> {L"a", L"b", L"", L""}));
    b.SetSize(1, 16);
    EXPECT_EQ(contents(b), (std::vector<std::wstring> {L"a"}));
    b.SetAtGrow(2, L"z");
    EXPECT_EQ(contents(b), (std::vector<std::wstring> {L"a", L"", L"z"}));
}

TEST(CStringArray, BadIndexesThrow)
{
    CStringArray a;
    a.Add(L"only");
    EXPECT_THROW(a.GetAt(1), std::out_of_range);
    EXPECT_THROW(a.GetAt(-1), std::out_of_range);
    EXPECT_THROW(a[1], std::out_of_range);
    EXPECT_THROW(a.SetAt(1, L"x"), std::out_of_range);
    EXPECT_THROW(a.RemoveAt(0, 2), std::out_of_range);
    EXPECT_THROW(a.RemoveAt(-1), std::out_of_range);
    EXPECT_THROW(a.SetSize(-1), std::invalid_argument);
    EXPECT_THROW(a.InsertAt(-1, L"x"), std::invalid_argument);
    EXPECT_EQ(a.GetSize(), 1); // failed calls change nothing
}

TEST(CArray, HoldsValuesContiguously)
{
    CArray<Station, Station&> stations;
    Station s {120.5, 1};
    stations.Add(s);
    s = {80.0, 2};
    stations.InsertAt(0, s);
    Station last {300.0, 4};
    stations.SetAtGrow(3, last);
    ASSERT_EQ(stations.GetSize(), 4);
    const Station* data = stations.GetData();
    EXPECT_EQ(data[0].code, 2);
    EXPECT_EQ(data[1].code, 1);
    EXPECT_EQ(data[2].code, 0); // the gap is value-initialised
    EXPECT_DOUBLE_EQ(data[3].chainage, 300.0);

    CArray<double> values;
    EXPECT_EQ(values.GetData(), nullptr);
    for (double v : {1.0, 2.0, 3.0, 4.0})
        values.Add(v);
    values.RemoveAt(1, 2);
    values[1] *= 10;
    EXPECT_DOUBLE_EQ(values.GetAt(0), 1.0);
    EXPECT_DOUBLE_EQ(values.GetAt(1), 40.0);
    values.Add(values[0]); // an element of the array itself
    EXPECT_DOUBLE_EQ(values[2], 1.0);

    CArray<double> more;
    more.Copy(values);
    more.InsertAt(1, &values);
    EXPECT_EQ(more.GetSize(), 6);
    EXPECT_DOUBLE_EQ(more[1], 1.0);
    EXPECT_DOUBLE_EQ(more[4], 40.0);
    EXPECT_THROW(more.ElementAt(6), std::out_of_range);
    EXPECT_THROW(more.RemoveAt(5, 2), std::out_of_range);
}
