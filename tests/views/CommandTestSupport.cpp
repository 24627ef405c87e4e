#include "CommandTestSupport.h"

#include <QCoreApplication>

#include "common/SettingsStore.h"
#include "views/EchoByteToView.h"

CommandTest::CommandTest(ReaderModel model, unsigned records)
    : m_model(model), m_reader([&] {
          EmulatorOptions options = FastEmulatorOptions(model);
          options.seedRecords = records;
          return options;
      }()) {}

void CommandTest::SetUp() {
    ASSERT_TRUE(m_reader.Start(false));
    CSettingsStore::WriteProfileString("Port", "Name", "COM40");
    CSettingsStore::WriteProfileInt("Port", "Timeout", CEmulatedReader::kTimeoutMs);
    m_view = std::make_unique<COrvaneView>(&m_doc);
    m_view->resize(500, 300);
    m_view->show();
    // The model is told from the reply to the parameter read at link opening,
    // which ends on a short silence; on a loaded machine a pause in the
    // emulator can cut it short, so the opening is repeated a few times.
    const bool extended = m_model == ReaderModel::Extended;
    for (int attempt = 0; attempt < 3; ++attempt) {
        ASSERT_TRUE(m_view->OpenLink());
        if (m_view->m_bExtendedModel == extended) {
            break;
        }
    }
    ASSERT_EQ(m_view->m_bExtendedModel, extended);
    Emulator().ClearRequests();
    m_view->ClearTranscript();
    m_doc.SetModifiedFlag(false);
}

void CommandTest::TearDown() {
    m_view.reset();
}

void CommandTest::Run(void (COrvaneView::*handler)(), CModalScript& script) {
    script.Start();
    (m_view.get()->*handler)();
    script.Stop();
    EXPECT_TRUE(script.Done()) << "not every step was reached";
    EXPECT_TRUE(script.m_unexpected.isEmpty()) << script.m_unexpected.join("; ").toStdString();
}

QString CommandTest::Transcript() {
    QCoreApplication::processEvents();
    return QString::fromLatin1(m_view->TranscriptBytes());
}

bool CommandTest::HookIsDisplay() const {
    return m_view->m_reader.m_pfnByteHook.load() == &EchoByteToView;
}

bool CommandTest::Busy() const {
    return !m_view->isEnabled() && m_ui.m_ui.m_nWaitCursor > 0;
}
