#include "Unit1.h"

#include "platform/Program.h"

int main(int argc, char** argv)
{
    return platform::runProgram(argc, argv,
                                {QStringLiteral("multisite"), QStringLiteral("TForm1"), QStringLiteral("多部位入力")},
                                [](const QString& folder, std::optional<char> mode) {
                                    return std::make_unique<TForm1>(folder, mode);
                                });
}
