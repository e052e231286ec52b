#pragma once
// A fresh program state rooted in a temporary folder, removed after the test.

#include "common/UComon.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zfw::test {

class TempStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        resetProgramState();
    }
    void TearDown() override { resetProgramState(); }

    QString root() const { return m_dir.path(); }
    QString path(const QString& rel) const { return m_dir.filePath(rel); }

    QTemporaryDir m_dir;
};

}  // namespace zfw::test
