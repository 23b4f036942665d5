#include "sections/browser_mode.h"
#include "sections/feature.h"
#include "sections/library_scope.h"

#include <QSet>
#include <gtest/gtest.h>

TEST(Sections, RawValuesAreExactTitles)
{
    EXPECT_EQ(fromRawValue<Feature>(u"Recent Files"), Feature::Recent);
    EXPECT_EQ(fromRawValue<Feature>(u"recent"), std::nullopt);
    EXPECT_EQ(fromRawValue<Feature>(u"recent files"), std::nullopt);
    EXPECT_EQ(fromRawValue<BrowserMode>(u"grid"), BrowserMode::Grid);
    EXPECT_EQ(fromRawValue<BrowserMode>(u"Grid"), std::nullopt);
    EXPECT_EQ(fromRawValue<LibraryScope>(u"folder"), LibraryScope::Folder);
    EXPECT_EQ(fromRawValue<LibraryScope>(u"Mac"), std::nullopt);

    const auto all = allCases<Feature>();
    ASSERT_EQ(all.size(), 12u);
    EXPECT_EQ(all.front(), Feature::Images);
    EXPECT_EQ(all[4], Feature::Explorer);
    EXPECT_EQ(all.back(), Feature::Transfers);
    QSet<QString> titles;
    for (Feature f : all)
        titles.insert(titleOf(f));
    EXPECT_EQ(titles.size(), 12);

    // The typographic apostrophe, not an ASCII one.
    EXPECT_EQ(subtitleOf(Feature::Storage), QStringLiteral("See what\u2019s taking up space."));
    EXPECT_NE(subtitleOf(Feature::Storage), QStringLiteral("See what's taking up space."));
}

TEST(Sections, DerivedClassifications)
{
    const auto storage = fromRawValue<Feature>(u"Storage Analyzer");
    ASSERT_TRUE(storage);
    EXPECT_TRUE(isAnalysis(*storage));
    EXPECT_EQ(mediaKindOf(*storage), std::nullopt);
    EXPECT_EQ(mediaKindOf(Feature::Screenshots), MediaKind::Image);
    EXPECT_TRUE(isLibrary(Feature::Screenshots));
    EXPECT_FALSE(isLibrary(Feature::Recent));
    EXPECT_EQ(mediaKindOf(Feature::Recent), std::nullopt);
    int libraries = 0, analyses = 0;
    for (Feature f : allCases<Feature>()) {
        libraries += isLibrary(f);
        analyses += isAnalysis(f);
        EXPECT_FALSE(isLibrary(f) && isAnalysis(f));
    }
    EXPECT_EQ(libraries, 5);
    EXPECT_EQ(analyses, 3);
}
