// Failing writes at every point of a post: the record afterwards is the old
// one or the new one, never a mix, and the table works on afterwards.
#include "Error.h"
#include "FaultVfs.h"
#include "Table.h"
#include "TempDatabase.h"

#include <gtest/gtest.h>

using namespace tables;

namespace {
QString u(const char* s) { return QString::fromUtf8(s); }

void write(Table& fee, int visit)
{
    fee.edit();
    // Several fields, so a torn record would show as a mix of two visits.
    for (const char* name : {"初検料", "保険料金合計", "一部負担金", "窓口料金", "料金"})
        fee.fieldByName(u(name)).setAsInteger(visit);
    fee.fieldByName(u("氏名")).setAsString(QStringLiteral("患者%1").arg(visit));
}

QString storedVisit(const TempDatabase& db)
{
    return db.value(u("SELECT (\"初検料\" / 10000) || '/' || (\"保険料金合計\" / 10000) || '/' || (\"一部負担金\" / 10000)"
                      " || '/' || (\"窓口料金\" / 10000) || '/' || (\"料金\" / 10000) || '/' || \"氏名\""
                      " FROM \"料金\" ORDER BY rowid LIMIT 1"));
}

QString visitText(int visit)
{
    const QString n = QString::number(visit);
    return QStringList{n, n, n, n, n, QStringLiteral("患者") + n}.join(u'/');
}

TEST(TableFaults, EveryFailingWriteOfAPostLeavesTheOldOrTheNewRecord)
{
    FaultVfs& vfs = FaultVfs::install();
    int failures = 0;
    for (int nth = 1;; ++nth) {
        SCOPED_TRACE(testing::Message() << "failing write " << nth);
        TempDatabase db;
        Table fee(db.folder(), u(schema::FeeTable));
        fee.open();
        write(fee, 1);
        fee.post();

        write(fee, 2);
        vfs.failAt(nth);
        bool posted = true;
        try {
            fee.post();
        } catch (const DatabaseError& e) {
            posted = false;
            EXPECT_TRUE(e.message().contains(u("料金"))) << e.what();
            EXPECT_EQ(fee.state(), Table::State::Edit) << "the edit must survive a failed post";
        }
        const bool injected = vfs.failed();
        vfs.failAt(0);
        fee.close(); // as the next start of the program would: a fresh connection

        EXPECT_EQ(db.value(u("PRAGMA integrity_check")), "ok");
        const QString stored = storedVisit(db);
        if (posted) EXPECT_EQ(stored.toStdString(), visitText(2).toStdString());
        else EXPECT_TRUE(stored == visitText(1) || stored == visitText(2)) << stored.toStdString();
        failures += posted ? 0 : 1;

        fee.open(); // and the table works on
        write(fee, 3);
        fee.post();
        EXPECT_EQ(storedVisit(db).toStdString(), visitText(3).toStdString());
        if (!injected) break; // the post got through without reaching the nth write
    }
    EXPECT_GT(failures, 2) << "the fault never hit a post";
}
} // namespace
