#pragma once
#include "InitDb.h"
#include "QtApp.h"
#include "TempDatabase.h"
#include "Unit1.h"

#include "platform/ErrorBox.h"
#include "tables/Table.h"
#include "widgets/Colors.h"
#include "widgets/Shape.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

inline QString u(const char* s) { return QString::fromUtf8(s); }

// The multi-site window on a fresh database, driven as the operator drives
// it: buttons clicked, boxes typed into, and what the records hold read back
// from the file.
class Unit1FeeTest : public testing::Test {
protected:
    Unit1FeeTest()
    {
        qtApp();
        previousSink = platform::setErrorSink([this](QWidget*, const QString& m) { errors << m; });
    }
    ~Unit1FeeTest() override
    {
        form.reset();
        platform::setErrorSink(previousSink);
    }

    // Prices are read by the open window, so they are set before it starts.
    // nullopt leaves the price empty.
    void price(const char* field, std::optional<int> yen)
    {
        ASSERT_EQ(form, nullptr) << "set prices before start()";
        db.sql(QStringLiteral("UPDATE \"%1\" SET \"%2\" = %3")
                   .arg(u(tables::schema::BaseFeeTable), u(field),
                        yen ? QString::number(qint64(*yen) * tables::Currency::Scale) : u("NULL")));
    }

    void start()
    {
        form = std::make_unique<TForm1>(db.folder());
        form->show();
        ASSERT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    }

    template <class T>
    T* control(const QString& name)
    {
        T* w = form->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void press(int button) { control<QPushButton>(QStringLiteral("Button%1").arg(button))->click(); }
    widgets::Shape* shape(int n) { return control<widgets::Shape>(QStringLiteral("Shape%1").arg(n)); }
    QLineEdit* box(const QString& name) { return control<QLineEdit>(name); }
    QLineEdit* siteBox(int n) { return box(QStringLiteral("Edit%1").arg(n)); }
    bool isLime(int n) { return shape(n)->brushColor() == widgets::clLime; }
    void paint(int n, bool lime) { shape(n)->setBrushColor(lime ? widgets::clLime : widgets::clWhite); }

    // Typing over a box's whole text, as the operator does.
    void type(const QString& name, const QString& text)
    {
        QLineEdit* target = box(name);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(target, Qt::Key_Delete);
        QTest::keyClicks(target, text);
    }

    // A working record as stored in the file, field by field as text ("" when empty).
    std::map<QString, QString> stored(const char* table)
    {
        tables::Table reader(db.folder(), u(table));
        reader.open();
        std::map<QString, QString> record;
        for (const tables::Field& f : reader.fields())
            record[f.name()] = f.asString();
        return record;
    }
    QString stored(const char* table, const char* field) { return stored(table).at(u(field)); }
    QString fee(const char* field) { return stored(tables::schema::FeeTable, field); }
    QString extra(const char* field) { return stored(tables::schema::ExtraFeeTable, field); }

    // Arranges fields of a record as a handler leaves them: written and stored.
    void write(tables::Table* table, std::initializer_list<std::pair<const char*, QString>> fields)
    {
        table->edit();
        for (const auto& [name, text] : fields)
            table->fieldByName(u(name)).setAsString(text);
        table->post();
    }

    void expectNoErrors() { EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString(); }

    TempDatabase db;
    QStringList errors;
    platform::ErrorSink previousSink;
    std::unique_ptr<TForm1> form;
};
