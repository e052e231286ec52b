#pragma once
// A general-parameters window on a fresh program state: English texts, a project folder in
// a temporary directory, fake dialogs.

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "config/UParGen.h"
#include "support/FakeServices.h"
#include "support/TempDir.h"

#include <memory>

namespace zfw::test {

class ParGenFormTest : public TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        Fill_Default_Language(programState());
        programState().Dir_Project = root();
        programState().File_ParGen = path(QStringLiteral("ParGen.xml"));
        m_form = std::make_unique<TFParGen>();
    }
    void TearDown() override
    {
        m_form.reset();
        TempStateTest::TearDown();
    }

    ScopedFakeServices m_fakes;
    std::unique_ptr<TFParGen> m_form;
};

}  // namespace zfw::test
