#include <gtest/gtest.h>

#include "FileDialog.h"
#include "OpenUrl.h"

namespace quorvel::qt {
namespace {

TEST(QtNameFilters, PairsBecomeQtFilters) {
  EXPECT_EQ(QtNameFilters("Text (*.txt)|*.txt|All Files (*.*)|*.*").toStdString(),
            "Text (*.txt);;All Files (*.*)");
}

TEST(QtNameFilters, DescriptionWithoutPatternGetsIt) {
  EXPECT_EQ(QtNameFilters("Lists|*.lst;*.txt").toStdString(), "Lists (*.lst *.txt)");
}

TEST(QtNameFilters, DanglingDescriptionIgnored) {
  EXPECT_EQ(QtNameFilters("Text (*.txt)|*.txt|Orphan").toStdString(), "Text (*.txt)");
  EXPECT_TRUE(QtNameFilters("").isEmpty());
}

TEST(WithScheme, HostWithoutSchemeTakenAsHttp) {
  EXPECT_EQ(WithScheme("www.example.org/quorvel"), "http://www.example.org/quorvel");
}

TEST(WithScheme, SchemeKept) {
  EXPECT_EQ(WithScheme("https://www.example.org/q"), "https://www.example.org/q");
}

TEST(WithScheme, SchemeLikeTextInPathIsNotAScheme) {
  EXPECT_EQ(WithScheme("host/redirect?to=http://x"), "http://host/redirect?to=http://x");
}

}  // namespace
}  // namespace quorvel::qt
