#pragma once
// A program that must stay silent on the console, even through the libraries
// it loads, but may need one last word there.
namespace platform {

// A private copy of the standard error (close it with CloseFile), kept across
// SilenceConsole; -1 when there is none.
int KeepErrorConsole();
// Points the standard output and the standard error at the null device.
void SilenceConsole();

}  // namespace platform
