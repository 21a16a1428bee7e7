// The info providers: names for stored identifiers, each key read once, misconfiguration named.
#include "CollectTestSupport.h"

#include "collect/InfoProvider.h"
#include "foundation/RecordUtils.h"

#include <gtest/gtest.h>

namespace {
class TBareProvider : public TBaseInfoProvider {
public:
    TBareProvider(const QString& sql, const QString& keys)
    {
        InfoSQL = sql;
        InfoKeyFields = keys;
    }
};
} // namespace

TEST(InfoProvider, MisconfigurationIsNamed)
{
    TTestDatabase db;
    struct TCase {
        const char* sql;
        const char* keys;
        const char* message;
    } cases[] = {
        {"", "", "未指定查询语句和未指定关键字段！"},
        {"", "DPID", "未指定查询语句！"},
        {"select DPID, DPName from L_DefectPhenomenon where DPID = :DPID", "", "未指定关键字段！"},
    };
    for (const TCase& c : cases) {
        TBareProvider provider(QString::fromUtf8(c.sql), QString::fromLatin1(c.keys));
        EXPECT_EQ(MessageOf([&] { provider.Lookup(1); }), QString::fromUtf8(c.message)) << c.message;
    }
}

TEST(InfoProvider, NamesAreReadOncePerKey)
{
    TCollectFixture f;
    TTagValueInfoProvider tags;
    ASSERT_TRUE(tags.Lookup(QVariantList{ids::TagMachine, 2}));
    EXPECT_EQ(tags.TagName(), QStringLiteral("机台"));
    EXPECT_EQ(tags.TagValue(), QStringLiteral("2号机"));
    // Found again from the cache: the row is no longer asked for.
    ExecuteSQL(QStringLiteral("delete from L_TagValue where TagID = 402 and TagValueID = 2"));
    ASSERT_TRUE(tags.Lookup(QVariantList{ids::TagMachine, 2}));
    EXPECT_EQ(tags.TagValue(), QStringLiteral("2号机"));
    ASSERT_TRUE(tags.Lookup(QVariantList{ids::TagShift, 1}));
    EXPECT_EQ(tags.TagValue(), QStringLiteral("早班"));
    EXPECT_FALSE(tags.Lookup(QVariantList{ids::TagMachine, 2000}));
    // A key part left unassigned finds nothing and sends nothing.
    EXPECT_FALSE(tags.Lookup(QVariantList{ids::TagShift, QVariant()}));
    EXPECT_FALSE(tags.Lookup(QVariantList{ids::TagShift}));

    TDPInfoProvider dps;
    ASSERT_TRUE(dps.Lookup(ids::DPBubble));
    EXPECT_EQ(dps.DPName(), QStringLiteral("气泡"));
    EXPECT_FALSE(dps.Lookup(999));
    dps.ClearCache();
    ASSERT_TRUE(dps.Lookup(ids::DPScratch));
    EXPECT_EQ(dps.DPName(), QStringLiteral("划伤"));
}
