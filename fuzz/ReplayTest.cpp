// Every seed of fuzz/corpus/<target>/ through its fuzz target, in the normal test run. A
// target reports a broken check by aborting, so a failure here names the target and the seed.

#include <QDir>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#define ZFW_FUZZ_TARGET(name) extern "C" int zfwFuzz_##name(const uint8_t* data, size_t size);
#include "FuzzTargets.inc"
#undef ZFW_FUZZ_TARGET

namespace {

using FuzzFunction = int (*)(const uint8_t*, size_t);

struct Target {
    const char* name;
    FuzzFunction run;
};

const Target kTargets[] = {
#define ZFW_FUZZ_TARGET(name) {#name, &zfwFuzz_##name},
#include "FuzzTargets.inc"
#undef ZFW_FUZZ_TARGET
};

QString corpusDir(const Target& t)
{
    return QStringLiteral(ZFW_FUZZ_CORPUS_DIR "/") + QString::fromLatin1(t.name);
}

struct Seed {
    const Target* target;
    QString file;
};

void PrintTo(const Seed& s, std::ostream* os)
{
    *os << s.target->name << '/' << s.file.toStdString();
}

std::vector<Seed> allSeeds()
{
    std::vector<Seed> seeds;
    for (const Target& t : kTargets)
        for (const QString& f : QDir(corpusDir(t)).entryList(QDir::Files, QDir::Name))
            seeds.push_back({&t, f});
    return seeds;
}

class FuzzSeed : public ::testing::TestWithParam<Seed> {};

TEST_P(FuzzSeed, RunsCleanThroughItsTarget)
{
    const Seed& s = GetParam();
    QFile f(QDir(corpusDir(*s.target)).filePath(s.file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    // libFuzzer hands over a buffer of exactly the input's size; so does this copy, so that
    // the address sanitizer sees a read one past the end.
    std::vector<uint8_t> exact(bytes.begin(), bytes.end());
    EXPECT_EQ(s.target->run(exact.data(), exact.size()), 0);
}

std::string seedName(const ::testing::TestParamInfo<Seed>& info)
{
    std::string name = std::string(info.param.target->name) + "_" + info.param.file.toStdString();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, FuzzSeed, ::testing::ValuesIn(allSeeds()), seedName);

TEST(FuzzCorpus, EveryTargetHasSeeds)
{
    for (const Target& t : kTargets)
        EXPECT_FALSE(QDir(corpusDir(t)).entryList(QDir::Files).isEmpty()) << t.name;
}

}  // namespace
