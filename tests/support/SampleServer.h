#pragma once
// The server the conformance suites describe: an application with a filled
// database and a spare one, an unloaded one whose names fill every field of
// the client library, and an empty one.
namespace support {

inline constexpr const char* SampleLongFilter = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";  // 30 characters

inline constexpr const char* SampleServer =
    "server\tsrv\n"
    "user\tu\tpw\t275\n"
    "user\tr\trpw\t273\n"
    "app\tSample\tloaded\n"
    "db\tSample\tBasic\n"
    "filter\tSample\tBasic\tAlpha\t1\t375\n"
    "row\t273\t@IDESCENDANTS(\"East\")\n"
    "row\t275\t\"Actual\",\t\"Budget\"\n"
    "filter\tSample\tBasic\tBeta\t0\t273\n"
    "row\t0\t\"Variance\"\n"
    "filter\tSample\tBasic\tEmpty\t1\t375\n"
    "db\tSample\tSpare\n"
    "app\tFULLNAM8\tunloaded\n"
    "db\tFULLNAM8\tDBFULL08\n"
    "filter\tFULLNAM8\tDBFULL08\tABCDEFGHIJKLMNOPQRSTUVWXYZ0123\t1\t375\n"
    "row\t273\t\"Forecast\"\n"
    "app\tZeta\tloaded\n";

}  // namespace support
