// A front-desk session that never ends, for the crash tests to kill: one of
// the real windows on a given data folder, pressed and typed into at random,
// logging every record it is about to post before the post begins.
//
// Usage: prog_crash_session multisite|sprainentry DATA_FOLDER LOG_FILE SEED
//
// Each log line is "<table>\t<record state>" (RecordState.h), written with
// one write() before the post's transaction starts, so every record a post
// can leave in the file is in the log before it can be there. After the
// window is built its records as the start-up reset left them are logged
// too, and "ready" is printed on stdout.
#include "RecordState.h"
#include "Unit1.h"
#include "sakusei.h"

#include "platform/ErrorBox.h"
#include "platform/Help.h"
#include "tables/Table.h"
#include "widgets/DBEdit.h"
#include "widgets/DataSource.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

struct Session {
    std::unique_ptr<QWidget> window;
    std::vector<tables::Table*> records; // the tables a post can change
    QStringList leaveOut;                 // buttons that end the program or start another
};

Session openWindow(const QString& kind, const QString& folder)
{
    Session s;
    if (kind == QLatin1String("multisite")) {
        auto w = std::make_unique<TForm1>(folder);
        s.records = {w->Table1, w->Table2};
        s.leaveOut = {QStringLiteral("Button75"), QStringLiteral("Button110")};
        s.window = std::move(w);
    } else {
        auto w = std::make_unique<TForm6>(folder);
        s.records = {w->Table1, w->Table3};
        s.leaveOut = {QStringLiteral("Button35"), QStringLiteral("Button38")};
        s.window = std::move(w);
    }
    return s;
}

void logLine(int fd, const tables::Table& table)
{
    const QByteArray line = (table.name() + u'\t' + recordState(table) + u'\n').toUtf8();
    if (write(fd, line.constData(), size_t(line.size())) != line.size())
        std::perror("log");
}

// What the operator types: a plausible value for the field behind the box.
QString valueFor(const tables::Field* field, std::mt19937& rng)
{
    const auto pick = [&](std::initializer_list<const char*> choices) {
        return QString::fromUtf8(choices.begin()[rng() % choices.size()]);
    };
    if (!field)
        return QString::number(rng() % 5000);
    switch (field->type()) {
    case tables::FieldType::Currency: return QString::number(rng() % 5000);
    case tables::FieldType::SmallInt: return QString::number(rng() % 20);
    case tables::FieldType::Float: return QString::number(rng() % 100000);
    case tables::FieldType::Date: return QStringLiteral("2024/%1/%2").arg(1 + rng() % 12).arg(1 + rng() % 28);
    case tables::FieldType::Text:
        return field->size() <= 4 ? pick({"１割", "２割", "３割", "100%"}) : pick({"ヤマダ", "山田 花子", "サトウ", "佐藤"});
    }
    return {};
}

void typeInto(QLineEdit* box, const QString& text)
{
    box->selectAll();
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
        QApplication::sendEvent(box, &release);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s multisite|sprainentry DATA_FOLDER LOG_FILE SEED\n", argv[0]);
        return 2;
    }
    const int fd = open(argv[3], O_WRONLY | O_APPEND | O_CREAT, 0644);
    if (fd < 0) {
        std::perror(argv[3]);
        return 2;
    }
    std::mt19937 rng(unsigned(std::strtoul(argv[4], nullptr, 10)));
    // Errors are part of a session (a typed name too long, a box left half
    // done): report them on stderr instead of a modal box nobody answers.
    platform::setErrorSink([](QWidget*, const QString& message) { std::fprintf(stderr, "%s\n", qPrintable(message)); });
    platform::setHelpLauncher([](const QString&) {});

    Session s = openWindow(QString::fromUtf8(argv[1]), QString::fromUtf8(argv[2]));
    s.window->show();
    for (tables::Table* table : s.records) {
        if (table->state() == tables::Table::State::Browse)
            logLine(fd, *table);
        // Registered after the window's own updaters, so it sees the buffer as posted.
        table->addUpdater([fd, table] { logLine(fd, *table); });
    }
    std::printf("ready\n");
    std::fflush(stdout);

    static const QRegularExpression buttonName(QStringLiteral("^Button[0-9]+$"));
    std::vector<QPushButton*> buttons;
    for (QPushButton* b : s.window->findChildren<QPushButton*>(buttonName))
        if (!s.leaveOut.contains(b->objectName()))
            buttons.push_back(b);
    std::vector<QLineEdit*> boxes;
    for (QLineEdit* box : s.window->findChildren<QLineEdit*>())
        if (box->isVisible() && !box->isReadOnly())
            boxes.push_back(box);

    for (;;) {
        if (rng() % 3 == 0) {
            QLineEdit* box = boxes[rng() % boxes.size()];
            const auto* dbEdit = qobject_cast<widgets::DBEdit*>(box);
            const tables::Field* field = nullptr;
            if (dbEdit && dbEdit->dataSource() && dbEdit->dataSource()->table()->isActive())
                field = dbEdit->dataSource()->table()->findField(dbEdit->dataField());
            typeInto(box, valueFor(field, rng));
        } else {
            buttons[rng() % buttons.size()]->click();
        }
        QApplication::processEvents();
    }
}
