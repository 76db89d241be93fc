#pragma once
#include "app/clsARIS_Interface.h"
#include "writer/clsWPXWriter.h"

/// Runs one export from the selected models to the definition file.
class clsWPX_Export {
public:
    /// The whole export: options, output file, mapping rules, rounds of construct creation,
    /// writing.
    void Run();
    /// Create and set up the constructs of one round's models; returns the models the round's
    /// processes refer to that are not exported yet (empty when none).
    ModelCollection CreateWPXObjects(ModelCollection& models);
    /// What Run does with each process once it is set up: write it ahead
    /// (clsWPXWriter::WriteProcessAhead), which drops its activities and connectors. A process
    /// set up in an earlier round is left.
    static void WriteAheadOnceSetUp(clsPROCESS& process);
    /// Number of rounds run by the last Run.
    int Rounds() const { return rounds_; }
    /// True when the mapping rules were loaded at start-up (to select every model that the rule
    /// PROCESS accepts); Run then does not load them again.
    bool MappingRulesLoaded = false;

private:
    int rounds_ = 0;
};

/// The header values of this export: the ARIS session's server, database and user (empty when
/// no database is open) and whether the rules came from a profile (an empty profile leaves the
/// built-in rules in use, and the header says so).
WPXHeaderValues CurrentWPXHeaderValues();
