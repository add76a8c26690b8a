#include "platform/Modes.h"

namespace platform {

namespace {
std::optional<char> modeFrom(const QString& value)
{
    if (value.size() == 1 && value.at(0) >= QLatin1Char('a') && value.at(0) <= QLatin1Char('c'))
        return value.at(0).toLatin1();
    return std::nullopt;
}
} // namespace

StartOptions parseStartOptions(const QStringList& args)
{
    StartOptions options;
    const QString modeEq = QStringLiteral("--mode=");
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        QString value;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            options.help = true;
            continue;
        }
        if (arg == QLatin1String("--mode")) {
            if (i + 1 == args.size()) {
                options.error = QStringLiteral("--mode の後に a、b、c のどれかを指定してください。");
                break;
            }
            value = args.at(++i);
        } else if (arg.startsWith(modeEq)) {
            value = arg.mid(modeEq.size());
        } else {
            options.error = QStringLiteral("指定「%1」は使えません。").arg(arg);
            break;
        }
        options.mode = modeFrom(value);
        if (!options.mode) {
            options.error = QStringLiteral("表示モード「%1」はありません。a、b、c のどれかを指定してください。").arg(value);
            break;
        }
    }
    if (!options.error.isEmpty())
        options.mode.reset();
    return options;
}

std::optional<char> parseMode(const QStringList& args)
{
    return parseStartOptions(args).mode;
}

QString helpText(const QString& programName)
{
    return QStringLiteral("使い方: %1 [--mode a|b|c]\n"
                          "  --mode a|b|c  画面の表示モードを選びます(省略時はすべての項目を表示します)。\n"
                          "  --help        この説明を表示します。\n"
                          "データの場所は環境変数 HARUNIRE_ROOT で指定できます"
                          "(省略時は $XDG_DATA_HOME/harunire、なければ ~/.local/share/harunire)。\n")
        .arg(programName);
}

} // namespace platform
