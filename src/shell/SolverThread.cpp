#include "shell/SolverThread.h"

#include <QMetaObject>

namespace karvena {

TSolverThread::~TSolverThread() {
    Cancel();
    Join();
}

void TSolverThread::Join() {
    if (m_Worker.joinable()) m_Worker.join();
}

void TSolverThread::Cancel() {
    ++m_Asked;
    m_Cancel = true;
}

template <typename TWork, typename TReport>
void TSolverThread::Run(std::thread before, TWork work, TReport report) {
    const unsigned asked = ++m_Asked;
    m_Worker = std::thread([this, before = std::move(before), work = std::move(work),
                            report = std::move(report), asked]() mutable {
        if (before.joinable()) before.join();
        auto result = work();
        QMetaObject::invokeMethod(
            this,
            [this, report = std::move(report), result = std::move(result), asked] {
                if (asked == m_Asked) report(result);
            },
            Qt::QueuedConnection);
    });
}

void TSolverThread::Prepare(std::shared_ptr<TMoveJudge> judge, TSolverBudget budget,
                            std::function<void()> done) {
    Cancel();
    Join();
    m_Cancel = false;
    budget.Cancel = &m_Cancel;
    m_Preparing = judge.get();
    Run(std::thread{}, [judge, budget] { return judge->Prepare(budget); },
        [this, done = std::move(done)](bool) {
            m_Preparing = nullptr;
            done();
        });
}

void TSolverThread::Start(std::shared_ptr<TMoveJudge> judge, std::vector<std::string> moves,
                          TSolverBudget budget, std::function<void(const TJudgement&)> done) {
    // The judge being prepared is waited for on the worker; anything else is stopped first.
    std::thread before;
    if (m_Preparing == judge.get() && m_Worker.joinable()) {
        before = std::move(m_Worker);
    } else {
        Cancel();
        Join();
        m_Cancel = false;
    }
    m_Preparing = nullptr;
    budget.Cancel = &m_Cancel;
    Run(std::move(before), [judge, moves = std::move(moves), budget] { return judge->Judge(moves, budget); },
        std::move(done));
}

} // namespace karvena
