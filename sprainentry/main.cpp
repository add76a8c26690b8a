#include "sakusei.h"

#include "platform/Program.h"

int main(int argc, char** argv)
{
    return platform::runProgram(argc, argv,
                                {QStringLiteral("sprainentry"), QStringLiteral("TForm6"),
                                 QStringLiteral("捻挫・打撲・挫傷入力(サンプル)")},
                                [](const QString& folder, std::optional<char> mode) {
                                    return std::make_unique<TForm6>(folder, mode);
                                });
}
