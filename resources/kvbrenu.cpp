// English language library: the program's message catalog, data only.
#include "platform/LanguageLibrary.h"

// The two exported symbols; declared extern first so that the const data keeps external linkage.
extern "C" {
__attribute__((visibility("default"))) extern const platform::LanguageTableEntry kvbr_message_table[];
__attribute__((visibility("default"))) extern const unsigned kvbr_message_count;
}

const platform::LanguageTableEntry kvbr_message_table[] = {
    {1000, "Error %1$s occurred in '%2$s'"},
    {1010, "Warning %1$s reported by '%2$s'"},
    {1020, "Explanation:"},
    {1030, "Are you sure you want to end the program?"},
    {1040, "Unknown error %1$s occurred in '%2$s'"},
    {2000, "WPX export aborted: invalid file access mode: %1$s"},
    {2010, "WPX export aborted: ARIS application not found"},
    {2020, "WPX export aborted: invalid model selection: %1$s"},
    {2030, "Invalid connection direction: %1$s"},
    {2040, "Invalid WPX naming convention '%1$s' found while converting the ARIS name '%2$s'"},
    {2050, "Invalid object name"},
    {2060, "The layout conversion for the ARIS model '%1$s' has not been done yet"},
    {2070, "The layout conversion for the ARIS function '%1$s' has not been done yet"},
    {2080, "The ARIS objects along the control flow paths for the WPX construct 'CONTROL_CONNECTOR' have not been determined yet."},
    {2090, "The ARIS objects along the data flow paths for the WPX construct 'DATA_CONNECTOR' have not been determined yet."},
    {2100, "This mapping rule is not defined: %1$s"},
    {2110, "This mapping rule has already been defined: %1$s"},
    {2120, "This ARIS object definition does not conform to the mapping rule: (object type = '%1$s', object name = '%2$s', mapping rule = '%3$s')"},
    {2130, "Syntax error in mapping rule at '%1$s' (expected keywords: %2$s)"},
    {2140, "Syntax error in mapping rule at '%1$s' (name of a mapping rule expected)"},
    {2150, "Syntax error in mapping rule at '%1$s' (assignment operator '=' expected)"},
    {2160, "Syntax error in mapping rule at '%1$s' (type number of an ARIS object definition expected)"},
    {2170, "Syntax error in mapping rule at '%1$s' (type number of an ARIS attribute expected)"},
    {2180, "Syntax error in mapping rule at '%1$s' (number of an ARIS connection direction expected)"},
    {2190, "Syntax error in mapping rule at '%1$s' (number of an ARIS connection type expected)"},
    {2200, "Syntax error in mapping rule at '%1$s' (the mapping rule translator is in an undefined state: '%2$s')"},
    {2210, "No mapping rules were found (the default mapping rules are used)."},
    {2220, "The profile '%1$s' with the mapping rules could not be found."},
    {2230, "The ARIS object '%1$s' of type '%2$s' takes part in an endless relation loop."},
    {3000, "Warning: you must not assign more than one '%1$s' to a '%2$s'."},
    {3010, "Warning: you have assigned more than one '%1$s' to a '%2$s'"},
    {3020, "The ARIS model '%1$s' of type '%2$s' was not mapped."},
    {3030, "The ARIS object '%1$s' of type '%2$s' was not mapped."},
    {3040, "The ARIS group '%1$s' was mapped to a WPX construct of type 'PROCESS_CATEGORY'."},
    {3050, "The ARIS model '%1$s' was mapped to a WPX construct of type 'PROCESS'."},
    {3060, "The ARIS object '%1$s' of type '%2$s' was mapped to a WPX construct of type '%3$s'."},
    {3070, "The control flow between the ARIS objects '%2$s' (type: '%1$s') and '%4$s' (type: '%3$s') was mapped to a WPX construct of type 'CONTROL_CONNECTOR'."},
    {3080, "The data flow between the ARIS objects '%2$s' (type: '%1$s') and '%4$s' (type: '%3$s') was mapped to a WPX construct of type 'DATA_CONNECTOR'."},
    {3090, "The mapping of the properties of the WPX construct of type '%1$s' named %2$s is complete."},
    {3100, "The ARIS string '%1$s' was changed into a WPX compatible form: '%2$s'"},
    {3110, "Total number of WPX constructs created: %1$s"},
    {3120, "Warning: you must not derive the event '%1$s' from more than one data object."},
    {3130, "Warning: the control flow between the ARIS objects '%2$s' (type: '%1$s') and '%4$s' (type: '%3$s') causes an invalid loop."},
    {3140, "Warning: the data flow between the ARIS objects '%2$s' (type: '%1$s') and '%4$s' (type: '%3$s') causes an invalid loop."},
    {4000, "Float"},
    {4010, "Integer"},
    {4020, "Bool"},
    {50000, "Options"},
    {50001, "Naming conventions"},
    {50002, "Layout"},
    {50003, "Attributes"},
    {50004, "Staff assignment"},
    {50005, "Loops"},
    {50006, "Control flow"},
    {50007, "Data types"},
    {50008, "&Help"},
    {50009, "Include other settings"},
    {50010, "Prefer data types taken from"},
    {50011, "ARIS object 'ERM domain'"},
    {50012, "ARIS attribute 'data type'"},
    {50013, "Transition conditions"},
    {50014, "Exit conditions"},
    {50015, "Start conditions"},
    {50016, "Find incorrect control flow loops"},
    {50017, "Find incorrect data flow loops"},
    {50018, "Prefer dynamic staff assignment"},
    {50019, "Include documentation attributes"},
    {50020, "Include description attributes"},
    {50021, "Insert bendpoints into WPX data connectors"},
    {50022, "Insert bendpoints into WPX control connectors"},
    {50023, "Remove any line breaks from ARIS names"},
    {50024, "Convert ARIS names into WPX compatible names"},
    {50025, "Prefer control flow conditions taken from ARIS user attributes"},
    {50026, "Initial numeration suffix of generated data names (i.e. DATA_STRUCTURE_0)"},
    {50027, "&Apply"},
    {50028, "Cancel"},
    {50029, "OK"},

    // The program's own messages, outside the catalog's numbers (60000 and above), one range
    // per subject so that each keeps its numbers.
    // 60100-60199: refusals that protect the user's files and the export's limits.

    // 60200-60399: the command line, the listing, the summary, the type table and profile.

    // 60400-60499: the definition-file checker and the preview.

    // 60500-60599: the desktop and the packages.
    {60500, "the desktop windows are not installed (%1$s, package lumenport-desktop); running in batch mode"},
    {60501, "the desktop windows (%1$s) cannot be loaded: %2$s; running in batch mode"},
    {60502, "%1$s already exists.\r\nDo you want to replace it? Its log %2$s is replaced as well."},
    {60503, "%1$s already exists.\r\nDo you want to replace it? The export also writes its log %2$s."},
    {60504, "the folder of the definition file could not be kept for the save window: %1$s"},
    {60505, "The log %1$s already exists.\r\nDo you want to replace it with the log of %2$s?"},
    {60506, "&Yes"},
    {60507, "&No"},

};

const unsigned kvbr_message_count = sizeof(kvbr_message_table) / sizeof(kvbr_message_table[0]);
