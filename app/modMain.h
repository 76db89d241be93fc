#pragma once

/// The program's entry point, start-up and shutdown.
namespace modMain {

/// Run the whole program; returns the exit status.
int Main(int argc, char** argv);

}  // namespace modMain
