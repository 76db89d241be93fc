#pragma once
#include <cstdint>
#include <string>

#include "constructs/ConstructLifecycle.h"
#include "process/ContainerPair.h"
#include "process/clsACTIVITY.h"
#include "process/modFlowLoops.h"

class clsCONTROL_CONNECTOR;
class clsDATA_CONNECTOR;

/// A PROCESS: one ARIS model that the rule "PROCESS" accepts. Owns its activities and
/// connectors, and the layout values of its drawing area.
///
/// SetupProperty_Constructs creates what the process owns, in this order: activities (found and
/// independently set up), layout conversion, control connectors (CreateControlConnectors), data
/// connectors (CreateDataConnectors), the dependent set-up of the activities, the activity
/// layouts.
class clsPROCESS {
public:
    static constexpr const char* kKindName = "PROCESS";
    /// Width and height of the WPX drawing area.
    static constexpr std::int32_t kDrawingAreaSize = 21000;

    /// The model the process stands for and the model's group.
    const aris::Model* ARIS_Model = nullptr;
    const aris::Group* ARIS_Group = nullptr;
    /// Quoted process name.
    std::string ProcessName;
    /// Input and output containers.
    ContainerPair Containers;
    /// "PAPERSIZE WIDTH 21000 HEIGHT 21000" once the layout is converted.
    std::string WINDOW;
    /// One layout text per generated data source and sink.
    platform::OrderedCollection<std::string> Col_SOURCE;
    platform::OrderedCollection<std::string> Col_SINK;
    /// Quoted description, documentation and category name; raw other settings.
    std::string DESCRIPTION;
    std::string DOCUMENTATION;
    std::string CATEGORY;
    std::string OtherSettings;
    /// Activities keyed by the Item.Guid of their function.
    platform::OrderedCollection<Owned<clsACTIVITY>> Col_ACTIVITY;
    /// Control and data connectors.
    platform::OrderedCollection<Owned<clsCONTROL_CONNECTOR>> Col_CONTROL_CONNECTOR;
    platform::OrderedCollection<Owned<clsDATA_CONNECTOR>> Col_DATA_CONNECTOR;
    /// Col_CONTROL_CONNECTOR indexed by FROM for the control-flow loop search.
    modFlowLoops::FlowLoopIndex ControlFlowLoopIndex;
    /// Col_DATA_CONNECTOR indexed by FROM for the data-flow loop search.
    modFlowLoops::FlowLoopIndex DataFlowLoopIndex;
    /// Layout scale, bounds of the activity positions and margins.
    double ShrinkFactor = 1.0;
    std::int32_t MaxXPos = 0;
    std::int32_t MaxYPos = 0;
    std::int32_t MinXPos = 99999999;
    std::int32_t MinYPos = 99999999;
    std::int32_t X_ContingencyOffset = 0;
    std::int32_t Y_ContingencyOffset = 0;
    bool CreateActivitiesFinished = false;
    bool LayoutConversionFinished = false;
    bool SetupFinished = false;

    /// A process written ahead (as soon as it is set up) keeps only its text: the definition
    /// file's blocks of the process, held by the writer's format, and what it counted. Its
    /// activities and connectors are dropped then.
    struct TextWrittenAhead {
        bool held = false;
        std::string blocks;
        int constructsWritten = 0;  ///< activities and connectors, loop connectors included
        int activities = 0;
        int controlConnectorsWithBlock = 0;  ///< those that do not close a loop
        int dataConnectors = 0;
    };
    TextWrittenAhead WrittenAhead;

    /// All properties in their order, once; models that process activities refer to and that
    /// have no PROCESS yet are added to `nextModels`.
    void SetupProperties(ARISModelCollection& nextModels);
    void SetupProperty_ProcessName();
    void SetupProperty_InputContainer();
    void SetupProperty_OutputContainer();
    /// Description, documentation, category.
    void SetupProperty_ProcessSetting();
    void SetupProperty_DESCRIPTION();
    void SetupProperty_DOCUMENTATION();
    void SetupProperty_CATEGORY();
    /// Activities, layout, connectors, dependent activity set-up, activity layouts.
    void SetupProperty_Constructs(ARISModelCollection& nextModels);
    /// SetupProperty_LAYOUT of every activity, in order.
    void PROCESS_SetupProperty_ACTIVITY_LAYOUT();
    /// Window, sources, sinks.
    void SetupProperty_ProcessGraphicsSetting();
    void SetupProperty_WINDOW();
    void SetupProperty_SOURCE();
    void SetupProperty_SINK();
    /// "SOURCE n" / "SINK n" with the process's own counters, from 1.
    std::string GeneratedDataSourceName();
    std::string GeneratedDataSinkName();
    /// Linking, layout and mapping of the data connectors from the source and to the sink.
    void SetupPropertiesOfProcessInputConnectors();
    void SetupPropertiesOfProcessOutputConnectors();
    void SetupProperty_OtherSettings();
    /// Bounding box, margins, ShrinkFactor and every activity's WPX position; sets the
    /// finished flags (also without activities). Overflow of the 32-bit arithmetic: error 6.
    void ConvertARISLayoutToWPXLayout();
    /// Keep the text written ahead and its counts, and drop the activities and connectors with
    /// everything only the set-up reads (their paths, data objects and connector lists, the
    /// loop indexes): the definition file needs the text alone, and a large export keeps every
    /// process until the file is written.
    void KeepTextWrittenAhead(std::string blocks, int constructsWritten);
    /// Activities, control connectors that leave a block, and data connectors: counted in the
    /// collections, or as kept when the process was written ahead.
    int ActivityCount() const;
    int ControlConnectorWithBlockCount() const;
    int DataConnectorCount() const;

private:
    /// Create the control connectors between the activities.
    void CreateControlConnectors();
    /// Create the data connectors between activities and from the source and to the sink.
    void CreateDataConnectors();
    /// The data objects that the data connectors from the source (kind 2) or to the sink
    /// (kind 3) carry, each once, in connector order: the objects the container is chosen from.
    ARISObjDefCollection DataObjectsOfDataConnectors(int connectorKind) const;
    /// Append the SOURCE_LAYOUT (kind 2) or SINK_LAYOUT (kind 3) texts of the data connectors.
    void CollectDataConnectorLayouts(int connectorKind, platform::OrderedCollection<std::string>& layouts);
    /// Set up the data connectors of one kind with generated names and a container.
    void SetupPropertiesOfProcessDataConnectors(int connectorKind);
    /// Warning 2060 with the model name when the layout is not converted yet.
    bool LayoutConvertedOrWarn() const;

    std::int32_t sourceCounter_ = 1;
    std::int32_t sinkCounter_ = 1;
};
