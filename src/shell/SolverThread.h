#pragma once
// TSolverThread: runs the solve loop's judge on a worker thread, so the window never waits for
// the solver. One judgement at a time: a new one, or Cancel, stops the one before (the solver
// looks at the cancel flag every few hundred positions), and a judgement cancelled is never
// reported. The verdict comes back through the window's event queue, on its thread.
#include <QObject>

#include <atomic>
#include <thread>

#include "solving/MoveJudge.h"

namespace karvena {

class TSolverThread : public QObject, public ISolverRunner {
public:
    explicit TSolverThread(QObject* parent = nullptr) : QObject(parent) {}
    ~TSolverThread() override;

    void Prepare(std::shared_ptr<TMoveJudge> judge, TSolverBudget budget,
                 std::function<void()> done) override;
    void Start(std::shared_ptr<TMoveJudge> judge, std::vector<std::string> moves,
               TSolverBudget budget, std::function<void(const TJudgement&)> done) override;
    void Cancel() override;

private:
    void Join();
    // Runs `work` on the worker after `before` (a preparation it waits for), then `report` on
    // the window's thread unless cancelled meanwhile.
    template <typename TWork, typename TReport>
    void Run(std::thread before, TWork work, TReport report);
    std::thread m_Worker;
    std::atomic<bool> m_Cancel{false};
    unsigned m_Asked = 0; // the window's thread only: which judgement may still report
    const TMoveJudge* m_Preparing = nullptr; // the judge the worker prepares, if it does
};

} // namespace karvena
