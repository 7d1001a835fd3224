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

void TSolverThread::Start(std::shared_ptr<TMoveJudge> judge, std::vector<std::string> moves,
                          TSolverBudget budget, std::function<void(const TJudgement&)> done) {
    Cancel();
    Join();
    m_Cancel = false;
    const unsigned asked = ++m_Asked;
    budget.Cancel = &m_Cancel;
    m_Worker = std::thread([this, judge = std::move(judge), moves = std::move(moves), budget,
                            done = std::move(done), asked] {
        const TJudgement judgement = judge->Judge(moves, budget);
        QMetaObject::invokeMethod(
            this,
            [this, done, judgement, asked] {
                if (asked == m_Asked) done(judgement);
            },
            Qt::QueuedConnection);
    });
}

} // namespace karvena
