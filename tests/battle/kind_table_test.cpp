#include "battle/kind_table.h"

#include <gtest/gtest.h>

namespace brumil::battle {
namespace {

void First(Long, Long, Long) {}
void Second(Long, Long, Long) {}

TEST(KindTable, RegistersOnlyTheKindIds) {
    struct Case {
        Long id;
        bool accepted;
    };
    const Case cases[] = {{7, false},  {8, true},  {9, true},   {67, true},
                          {68, false}, {0, false}, {-8, false}, {255, false}};
    for (const Case& c : cases) {
        KindTable table;
        EXPECT_EQ(table.Register(c.id, &First), c.accepted) << c.id;
        EXPECT_EQ(table.Find(c.id), c.accepted ? &First : nullptr) << c.id;
        EXPECT_EQ(table.RegisteredCount(), c.accepted ? 1 : 0) << c.id;
    }
}

TEST(KindTable, LaterRegistrationReplacesAndNullClears) {
    KindTable table;
    table.Register(20, &First);
    table.Register(21, &First);
    table.Register(20, &Second);
    EXPECT_EQ(table.Find(20), &Second);
    EXPECT_EQ(table.Find(21), &First);
    table.Register(21, nullptr);
    EXPECT_EQ(table.Find(21), nullptr);
    EXPECT_EQ(table.RegisteredCount(), 1);
}

TEST(KindTable, ProgramTableHoldsOnlyKindIds) {
    const KindTable& table = KindProcedures();
    EXPECT_EQ(&table, &KindProcedures());
    for (Long id : {-1, 0, 1, 2, 7, 68, 1000}) EXPECT_EQ(table.Find(id), nullptr) << id;
    EXPECT_LE(table.RegisteredCount(), kKindIdCount);
}

}  // namespace
}  // namespace brumil::battle
