#include "process/clsPROCESS.h"

#include <cstdint>

#include "constructs/ConstructText.h"
#include "data/modContainer.h"
#include "platform/Text.h"
#include "process/modACTIVITY.h"
#include "process/modCONTROL_CONNECTOR.h"
#include "process/modDATA_CONNECTOR.h"
#include "process/modPROCESS.h"
#include "process/modPoint.h"

namespace {

// 32-bit sum and difference of positions; overflow raises error 6.
std::int32_t Sum32(std::int32_t a, std::int32_t b) {
    return modPoint::CheckedInt32(static_cast<double>(static_cast<std::int64_t>(a) + b));
}
std::int32_t Difference32(std::int32_t a, std::int32_t b) {
    return modPoint::CheckedInt32(static_cast<double>(static_cast<std::int64_t>(a) - b));
}

// The margin of one axis: a tenth of the box size, rounded half to even.
std::int32_t Margin(std::int32_t min, std::int32_t max) {
    return modPoint::CheckedInt32(platform::RoundHalfEven(Difference32(max, min) * 0.1));
}

}  // namespace

void clsPROCESS::SetupProperties(ARISModelCollection& nextModels) {
    const ProcedureScope scope("clsPROCESS.SetupProperties");
    if (SetupFinished) return;
    SetupProperty_ProcessName();
    SetupProperty_ProcessSetting();
    SetupProperty_OtherSettings();
    SetupProperty_Constructs(nextModels);
    SetupProperty_InputContainer();
    SetupProperty_OutputContainer();
    SetupPropertiesOfProcessInputConnectors();
    SetupPropertiesOfProcessOutputConnectors();
    SetupProperty_ProcessGraphicsSetting();
    LogSetupComplete(kKindName, ProcessName);
    SetupFinished = true;
}

void clsPROCESS::KeepTextWrittenAhead(std::string blocks, int constructsWritten) {
    WrittenAhead.activities = ActivityCount();
    WrittenAhead.controlConnectorsWithBlock = ControlConnectorWithBlockCount();
    WrittenAhead.dataConnectors = DataConnectorCount();
    WrittenAhead.blocks = std::move(blocks);
    WrittenAhead.constructsWritten = constructsWritten;
    WrittenAhead.held = true;
    // The activities hold pointers to the connectors: they go first.
    Col_ACTIVITY = platform::OrderedCollection<Owned<clsACTIVITY>>();
    Col_CONTROL_CONNECTOR = platform::OrderedCollection<Owned<clsCONTROL_CONNECTOR>>();
    Col_DATA_CONNECTOR = platform::OrderedCollection<Owned<clsDATA_CONNECTOR>>();
    ControlFlowLoopIndex = modFlowLoops::FlowLoopIndex();
    DataFlowLoopIndex = modFlowLoops::FlowLoopIndex();
}

int clsPROCESS::ActivityCount() const {
    return WrittenAhead.held ? WrittenAhead.activities : static_cast<int>(Col_ACTIVITY.Count());
}

int clsPROCESS::ControlConnectorWithBlockCount() const {
    if (WrittenAhead.held) return WrittenAhead.controlConnectorsWithBlock;
    int count = 0;
    for (const Owned<clsCONTROL_CONNECTOR>& connector : Col_CONTROL_CONNECTOR)
        if (!connector->IsLoopConnector()) ++count;
    return count;
}

int clsPROCESS::DataConnectorCount() const {
    return WrittenAhead.held ? WrittenAhead.dataConnectors : static_cast<int>(Col_DATA_CONNECTOR.Count());
}

void clsPROCESS::SetupProperty_ProcessName() {
    const ProcedureScope scope("clsPROCESS.SetupProperty_ProcessName");
    SetQuotedProperty(ProcessName,
                      PROCESS_Find_ARIS_Model_Attribute_Using_Mapping_Rule(ARIS_Model, "PROCESS_ProcessName"), "8");
}

void clsPROCESS::SetupProperty_InputContainer() {
    const ProcedureScope scope("clsPROCESS.SetupProperty_InputContainer");
    Containers.SetInputContainer(ChooseContainer(DataObjectsOfDataConnectors(2)));
}

void clsPROCESS::SetupProperty_OutputContainer() {
    const ProcedureScope scope("clsPROCESS.SetupProperty_OutputContainer");
    Containers.SetOutputContainer(ChooseContainer(DataObjectsOfDataConnectors(3)));
}

ARISObjDefCollection clsPROCESS::DataObjectsOfDataConnectors(int connectorKind) const {
    ARISObjDefCollection dataObjects;
    for (const Owned<clsDATA_CONNECTOR>& connector : Col_DATA_CONNECTOR) {
        if (connector->ConnectorKind != connectorKind) continue;
        const ARISObjDefCollection& carried = connectorKind == clsDATA_CONNECTOR::kSourceToActivity
                                                  ? connector->ColInputDataObjects
                                                  : connector->ColOutputDataObjects;
        for (const aris::ObjDef* dataObject : carried) modMappingRule::AddObjDefOnce(dataObjects, dataObject);
    }
    return dataObjects;
}

void clsPROCESS::SetupProperty_ProcessSetting() {
    const ProcedureScope scope("clsPROCESS.SetupProperty_ProcessSetting");
    SetupProperty_DESCRIPTION();
    SetupProperty_DOCUMENTATION();
    SetupProperty_CATEGORY();
}

void clsPROCESS::SetupProperty_DESCRIPTION() {
    const ProcedureScope scope("clsPROCESS.SetupProperty_DESCRIPTION");
    if (!CurrentExport().Options.UseDescriptionAttr) return;
    SetQuotedProperty(DESCRIPTION,
                      PROCESS_Find_ARIS_Model_Attribute_Using_Mapping_Rule(ARIS_Model, "PROCESS_DESCRIPTION"), "2");
}

void clsPROCESS::SetupProperty_DOCUMENTATION() {
    const ProcedureScope scope("clsPROCESS.SetupProperty_DOCUMENTATION");
    if (!CurrentExport().Options.UseDocumentationAttr) return;
    SetQuotedProperty(DOCUMENTATION,
                      PROCESS_Find_ARIS_Model_Attribute_Using_Mapping_Rule(ARIS_Model, "PROCESS_DOCUMENTATION"), "3");
}

void clsPROCESS::SetupProperty_CATEGORY() {
    const ProcedureScope scope("clsPROCESS.SetupProperty_CATEGORY");
    if (!ARIS_Group) return;
    // As the category's own name: converted even when the group has none (warning 2050).
    SetQuotedRequiredName(CATEGORY, ARIS_Group->Name(CurrentExport().LocaleId), "6");
}

void clsPROCESS::SetupProperty_Constructs(ARISModelCollection& nextModels) {
    const ProcedureScope scope("clsPROCESS.SetupProperty_Constructs");
    ACTIVITY_Create(nextModels, *this);
    ConvertARISLayoutToWPXLayout();
    CreateControlConnectors();
    CreateDataConnectors();
    ACTIVITY_SetupDependentProperties(*this);
    PROCESS_SetupProperty_ACTIVITY_LAYOUT();
}

void clsPROCESS::CreateControlConnectors() {
    const ProcedureScope scope("clsPROCESS.CreateControlConnectors");
    CONTROL_CONNECTOR_Create(*this);
}

void clsPROCESS::CreateDataConnectors() {
    const ProcedureScope scope("clsPROCESS.CreateDataConnectors");
    DATA_CONNECTOR_Create(*this);
}

void clsPROCESS::PROCESS_SetupProperty_ACTIVITY_LAYOUT() {
    const ProcedureScope scope("clsPROCESS.PROCESS_SetupProperty_ACTIVITY_LAYOUT");
    for (Owned<clsACTIVITY>& activity : Col_ACTIVITY) activity->SetupProperty_LAYOUT();
}

void clsPROCESS::SetupProperty_ProcessGraphicsSetting() {
    const ProcedureScope scope("clsPROCESS.SetupProperty_ProcessGraphicsSetting");
    SetupProperty_WINDOW();
    SetupProperty_SOURCE();
    SetupProperty_SINK();
}

bool clsPROCESS::LayoutConvertedOrWarn() const {
    if (LayoutConversionFinished) return true;
    RaiseWarning(2060, ARIS_Model ? ARIS_Model->Name(CurrentExport().LocaleId) : "");
    return false;
}

void clsPROCESS::SetupProperty_WINDOW() {
    const ProcedureScope scope("clsPROCESS.SetupProperty_WINDOW");
    if (!LayoutConvertedOrWarn()) return;
    WINDOW = "PAPERSIZE WIDTH " + std::to_string(kDrawingAreaSize) + " HEIGHT " + std::to_string(kDrawingAreaSize);
}

void clsPROCESS::SetupProperty_SOURCE() {
    const ProcedureScope scope("clsPROCESS.SetupProperty_SOURCE");
    if (!LayoutConvertedOrWarn()) return;
    CollectDataConnectorLayouts(2, Col_SOURCE);
}

void clsPROCESS::SetupProperty_SINK() {
    const ProcedureScope scope("clsPROCESS.SetupProperty_SINK");
    if (!LayoutConvertedOrWarn()) return;
    CollectDataConnectorLayouts(3, Col_SINK);
}

void clsPROCESS::CollectDataConnectorLayouts(int connectorKind, platform::OrderedCollection<std::string>& layouts) {
    for (const Owned<clsDATA_CONNECTOR>& connector : Col_DATA_CONNECTOR) {
        if (connector->ConnectorKind != connectorKind) continue;
        layouts.Add(connectorKind == clsDATA_CONNECTOR::kSourceToActivity ? connector->SOURCE_LAYOUT
                                                                          : connector->SINK_LAYOUT);
    }
}

std::string clsPROCESS::GeneratedDataSourceName() {
    const ProcedureScope scope("clsPROCESS.GeneratedDataSourceName");
    return "SOURCE " + std::to_string(sourceCounter_++);
}

std::string clsPROCESS::GeneratedDataSinkName() {
    const ProcedureScope scope("clsPROCESS.GeneratedDataSinkName");
    return "SINK " + std::to_string(sinkCounter_++);
}

void clsPROCESS::SetupPropertiesOfProcessInputConnectors() {
    const ProcedureScope scope("clsPROCESS.SetupPropertiesOfProcessInputConnectors");
    SetupPropertiesOfProcessDataConnectors(2);
}

void clsPROCESS::SetupPropertiesOfProcessOutputConnectors() {
    const ProcedureScope scope("clsPROCESS.SetupPropertiesOfProcessOutputConnectors");
    SetupPropertiesOfProcessDataConnectors(3);
}

void clsPROCESS::SetupPropertiesOfProcessDataConnectors(int connectorKind) {
    const bool sources = connectorKind == clsDATA_CONNECTOR::kSourceToActivity;
    const clsDATA_STRUCTURE& container = sources ? Containers.InputContainer() : Containers.OutputContainer();
    for (Owned<clsDATA_CONNECTOR>& connector : Col_DATA_CONNECTOR) {
        if (connector->ConnectorKind != connectorKind) continue;
        const std::string name = sources ? GeneratedDataSourceName() : GeneratedDataSinkName();
        connector->SetupProperty_Linking(name);
        connector->SetupProperty_LAYOUT(name);
        connector->SetupProperty_Mapping(&container);
        LogSetupComplete(clsDATA_CONNECTOR::kKindName, connector->Linking);
    }
}

void clsPROCESS::SetupProperty_OtherSettings() {
    const ProcedureScope scope("clsPROCESS.SetupProperty_OtherSettings");
    if (!CurrentExport().Options.UseOtherSettings) return;
    const std::string text = PROCESS_Find_ARIS_Model_Attribute_Using_Mapping_Rule(ARIS_Model, "PROCESS_OTHER_SETTINGS");
    if (!text.empty()) OtherSettings = text;
}

void clsPROCESS::ConvertARISLayoutToWPXLayout() {
    const ProcedureScope scope("clsPROCESS.ConvertARISLayoutToWPXLayout");
    if (!Col_ACTIVITY.Empty()) {
        for (const Owned<clsACTIVITY>& activity : Col_ACTIVITY) {
            if (MinXPos > activity->ARIS_XPos) MinXPos = activity->ARIS_XPos;
            if (MinYPos > activity->ARIS_YPos) MinYPos = activity->ARIS_YPos;
            if (MaxXPos < activity->ARIS_XPos) MaxXPos = activity->ARIS_XPos;
            if (MaxYPos < activity->ARIS_YPos) MaxYPos = activity->ARIS_YPos;
        }
        const std::int32_t xc = Margin(MinXPos, MaxXPos);
        const std::int32_t yc = Margin(MinYPos, MaxYPos);
        X_ContingencyOffset = Difference32(MinXPos, xc);
        Y_ContingencyOffset = Difference32(MinYPos, yc);
        const std::int32_t w = Sum32(Difference32(MaxXPos, X_ContingencyOffset), xc);
        const std::int32_t h = Sum32(Difference32(MaxYPos, Y_ContingencyOffset), yc);
        const std::int32_t m = w > h ? w : h;
        if (m > kDrawingAreaSize) ShrinkFactor = static_cast<double>(kDrawingAreaSize) / m;
        for (Owned<clsACTIVITY>& activity : Col_ACTIVITY) {
            activity->WPX_XPos = modPoint::CheckedInt32(modPoint::WPX_XCoordinate(*this, activity->ARIS_XPos));
            activity->WPX_YPos = modPoint::CheckedInt32(modPoint::WPX_YCoordinate(*this, activity->ARIS_YPos));
            activity->LayoutConversionFinished = true;
        }
    }
    LayoutConversionFinished = true;
}
