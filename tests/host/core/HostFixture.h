// A host session for a test: the command line in memory, rules enforced, commands defined inline.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "arxHeaders.h"
#include "arxhost/Session.h"
#include "editor/Transcript.h"

namespace planroad::test {

class HostFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        arxhost::SessionOptions options;
        options.transcript = &mOut;
        options.statusBar = &mStatus;
        options.strict = true;
        adjustOptions(options);
        mSession = std::make_unique<arxhost::Session>(options);
    }
    // A fixture that needs other session options (a configuration root, ...) sets them here.
    virtual void adjustOptions(arxhost::SessionOptions&) { }
    void TearDown() override
    {
        mSession.reset();
        bodies().clear();
    }

    arxhost::Session& session() { return *mSession; }
    AcDbDatabase& db() { return mSession->database(); }
    // What the command line showed so far (UTF-8 decoded).
    std::wstring transcript() const { return mSession->transcript().text(); }
    std::string status() const { return mStatus.str(); }

    // Registers a command of group "TEST" whose body is the lambda.
    void defineCommand(const std::wstring& name, std::function<void()> body)
    {
        static const AcRxFunctionPtr trampolines[]
            = {&call<0>, &call<1>, &call<2>, &call<3>, &call<4>, &call<5>};
        const std::size_t slot = bodies().size();
        ASSERT_LT(slot, std::size(trampolines));
        bodies()[slot] = std::move(body);
        ASSERT_EQ(Acad::eOk,
            acedRegCmds->addCommand(L"TEST", name.c_str(), name.c_str(), ACRX_CMD_MODAL, trampolines[slot]));
    }

    // Types the lines (an empty one is Enter) and runs the command prompt until they are used up.
    void type(const std::wstring& lines)
    {
        mSession->addInputText(lines);
        mSession->run();
    }

    // Adds an entity to model space and returns its id (closed).
    AcDbObjectId add(AcDbEntity* entity)
    {
        AcDbBlockTableRecord* space = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenObject(space, db().modelSpaceId(), AcDb::kForWrite));
        AcDbObjectId id;
        EXPECT_EQ(Acad::eOk, space->appendAcDbEntity(id, entity));
        entity->close();
        space->close();
        return id;
    }
    AcDbObjectId addLine(double x1, double y1, double x2, double y2)
    {
        return add(new AcDbLine(AcGePoint3d(x1, y1, 0), AcGePoint3d(x2, y2, 0)));
    }
    AcDbObjectId addLayer(const std::wstring& name)
    {
        AcDbLayerTable* table = nullptr;
        EXPECT_EQ(Acad::eOk, db().getLayerTable(table, AcDb::kForWrite));
        auto* layer = new AcDbLayerTableRecord();
        layer->setName(name.c_str());
        AcDbObjectId id;
        EXPECT_EQ(Acad::eOk, table->add(id, layer));
        layer->close();
        table->close();
        return id;
    }

private:
    static std::map<std::size_t, std::function<void()>>& bodies()
    {
        static std::map<std::size_t, std::function<void()>> all;
        return all;
    }
    template <std::size_t N> static void call() { bodies()[N](); }

    std::ostringstream mOut;
    std::ostringstream mStatus;
    std::unique_ptr<arxhost::Session> mSession;
};

// Runs body inside an undo step of its own, as a command would.
inline bool contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

} // namespace planroad::test
