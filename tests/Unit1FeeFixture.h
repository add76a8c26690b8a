#pragma once
#include "Unit1Fixture.h"

#include "widgets/Colors.h"

#include <initializer_list>
#include <optional>

// The window's fee buttons by number, with the price list arranged before
// the window starts and the records read back from the file.
class Unit1FeeTest : public Unit1Fixture {
protected:
    using Unit1Fixture::press;
    void press(int button) { press(QStringLiteral("Button%1").arg(button)); }

    // Prices are read by the open window, so they are set before it starts.
    // nullopt leaves the price empty.
    void price(const char* field, std::optional<int> yen)
    {
        ASSERT_EQ(form, nullptr) << "set prices before start()";
        db.sql(QStringLiteral("UPDATE \"%1\" SET \"%2\" = %3")
                   .arg(u8(tables::schema::BaseFeeTable), u8(field),
                        yen ? QString::number(qint64(*yen) * tables::Currency::Scale) : u8("NULL")));
    }

    bool isLime(int n) { return shape(n)->brushColor() == widgets::clLime; }
    void paint(int n, bool lime) { shape(n)->setBrushColor(lime ? widgets::clLime : widgets::clWhite); }

    QString fee(const char* field) { return stored(field, tables::schema::FeeTable); }
    QString extra(const char* field) { return stored(field, tables::schema::ExtraFeeTable); }

    // Arranges fields of a record as a handler leaves them: written and stored.
    void write(tables::Table* table, std::initializer_list<std::pair<const char*, QString>> fields)
    {
        table->edit();
        for (const auto& [name, text] : fields)
            table->fieldByName(u8(name)).setAsString(text);
        table->post();
    }

    void expectNoErrors() { EXPECT_TRUE(errors.isEmpty()) << errorText().toStdString(); }
};
