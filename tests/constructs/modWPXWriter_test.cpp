// The formatting helpers the constructs and the writer share: indentation and the description
// text of a connector from the objects on its paths.
#include <gtest/gtest.h>

#include "../constructs/ConstructFixture.h"
#include "constructs/modWPXWriter.h"
#include "mapping/modPath.h"
#include "platform/Error.h"

using amltest::AmlBuilder;
using constructtest::ExportEnv;

TEST(modWPXWriter, IndentGivesTabsPerLevel) {
    EXPECT_EQ(modWPXWriter::Indent(0), "");
    EXPECT_EQ(modWPXWriter::Indent(1), "\t");
    EXPECT_EQ(modWPXWriter::Indent(3), "\t\t\t");
    EXPECT_THROW(modWPXWriter::Indent(-1), platform::Error);
}

TEST(modWPXWriter, ConnectorDescriptionFromTheObjectsOnThePaths) {
    AmlBuilder b;
    b.Group("G", "G")
        .Model("M", "G", 13, "M")
        .Obj("E1", "G", 18, "Order received", {{9, "Arrives by mail"}})
        .Obj("E2", "G", 18, "Order checked")
        .Place("M", "E1", 0, 0)
        .Place("M", "E2", 0, 0);
    ExportEnv env(b);
    auto events = env.Model("M")->ObjDefList(18, 1033);
    ASSERT_EQ(events.size(), 2u);
    PathCollection paths;
    EXPECT_EQ(modWPXWriter::SetupPrintingOfConnectorAttribute(paths, "CONTROL_CONNECTOR_DESCRIPTION"), "");
    auto first = modPath::CreatePath(nullptr, nullptr);
    first->ColARISObjectDefinitionsOnPath.Add(events[0], events[0]->Guid());
    auto second = modPath::CreatePath(nullptr, nullptr);
    second->ColARISObjectDefinitionsOnPath.Add(events[1], events[1]->Guid());
    paths.Add(first);
    paths.Add(second);
    EXPECT_EQ(modWPXWriter::SetupPrintingOfConnectorAttribute(paths, "CONTROL_CONNECTOR_DESCRIPTION"),
              "\r\n\t\t\tEvent 'Order received' Arrives by mail");
    EXPECT_EQ(modWPXWriter::SetupPrintingOfConnectorAttribute(paths),
              "\r\n\t\t\tEvent 'Order received' (1): Order received"
              "\r\n\t\t\tEvent 'Order received' (9): Arrives by mail"
              "\r\n\t\t\tEvent 'Order checked' (1): Order checked");
}
