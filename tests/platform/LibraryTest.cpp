#include <gtest/gtest.h>

#include "platform/Library.h"
#include "platform/ProgramFolder.h"

namespace platform {
namespace {

TEST(Library, MissingLibraryIsAFailureWithTheLoadersReason) {
  Library library("libquorvel-no-such-library.so");
  EXPECT_FALSE(library.loaded());
  EXPECT_NE(library.error().find("libquorvel-no-such-library.so"), std::string::npos)
      << library.error();
  EXPECT_EQ(library.Symbol("QuorvelProbe"), nullptr);
}

TEST(Library, LoadedLibraryHandsOutItsSymbolsAndNoOthers) {
  Library library(BesideProgram(PROBE_LIBRARY));
  ASSERT_TRUE(library.loaded()) << library.error();
  EXPECT_EQ(library.error(), "");
  auto probe = reinterpret_cast<int (*)()>(library.Symbol("QuorvelProbe"));
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(probe(), 42);
  EXPECT_EQ(library.Symbol("EsbInit"), nullptr);
}

TEST(Library, SymbolsOutliveTheObjectThatFoundThem) {
  Library::Function found = nullptr;
  {
    Library library(BesideProgram(PROBE_LIBRARY));
    found = library.Symbol("QuorvelProbe");
  }
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(reinterpret_cast<int (*)()>(found)(), 42);
}

}  // namespace
}  // namespace platform
