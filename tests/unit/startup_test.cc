#include "host/startup.h"

#include <gtest/gtest.h>

TEST(ResolvePluginUrl, AbsoluteHttpValuesAreKeptAndOtherSchemesAreRelative) {
  EXPECT_EQ(resolvePluginUrl("s://a/d/p.html", "http://x/m.dat"), "http://x/m.dat");
  EXPECT_EQ(resolvePluginUrl("s://a/d/p.html", "https://x/m.dat"), "https://x/m.dat");
  EXPECT_EQ(resolvePluginUrl("s://a/d/p.html", "HTTP://x/m.dat"), "s://a/d/HTTP://x/m.dat");
  EXPECT_EQ(resolvePluginUrl("s://a/d/p.html", "ftp://x/m"), "s://a/d/ftp://x/m");
}

TEST(ResolvePluginUrl, RelativeValueUsesDirectoryBeforeQueryAndFragment) {
  EXPECT_EQ(resolvePluginUrl("S://A/a/b.html?x=1/2", "m.dat"), "S://A/a/m.dat");
  EXPECT_EQ(resolvePluginUrl("S://A/a/b.html#frag/x", "m.dat"), "S://A/a/m.dat");
  EXPECT_EQ(resolvePluginUrl("S://A/a/b/", "../m.dat"), "S://A/a/b/../m.dat");
  EXPECT_EQ(resolvePluginUrl("page.html", "m.dat"), "m.dat");
  EXPECT_EQ(resolvePluginUrl("", "m.dat"), "m.dat");
}

TEST(ResolvePluginUrl, RootedValueUsesSchemeAndAuthority) {
  EXPECT_EQ(resolvePluginUrl("S://A/a/b.html", "/m.dat"), "S://A/m.dat");
  EXPECT_EQ(resolvePluginUrl("S://A/a/b.html", "//m.dat"), "S://A//m.dat");
  // A document URL that ends with its authority keeps all of it.
  EXPECT_EQ(resolvePluginUrl("S://A", "/m.dat"), "S://A/m.dat");
  // Without "://" the authority search starts at the third byte.
  EXPECT_EQ(resolvePluginUrl("ab/c/d", "/m"), "ab/m");
  EXPECT_EQ(resolvePluginUrl("a", "/m"), "a/m");
}

TEST(CollectAttributes, PairsAndTheLastExactSrcDecide) {
  const char* args[] = {"zema-host", "S://A/d/p.html", "SRC", "x.dat",  "srcx", "y.dat",
                        "src",       "a.dat",          "src", "/b.dat", "width"};
  std::vector<const char*> names, values;
  std::string url = collectAttributes(11, const_cast<char**>(args), names, values);
  EXPECT_EQ(url, "S://A/b.dat");
  ASSERT_EQ(names.size(), 4u) << "the unpaired last argument is ignored";
  EXPECT_STREQ(names[0], "SRC");
  EXPECT_STREQ(values[3], "/b.dat") << "values are passed on unresolved";

  names.clear();
  values.clear();
  const char* onlyDocument[] = {"zema-host", "S://A/d/p.html"};
  EXPECT_EQ(collectAttributes(2, const_cast<char**>(onlyDocument), names, values), "");
  EXPECT_TRUE(names.empty());
  const char* noSrc[] = {"zema-host", "S://A/d/p.html", "SRC", "x.dat"};
  EXPECT_EQ(collectAttributes(4, const_cast<char**>(noSrc), names, values), "");
}
