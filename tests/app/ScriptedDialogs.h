#pragma once

#include "app/UserDialogs.h"

#include <deque>
#include <vector>

namespace zelvar::test {

// Answers the application's message boxes and file dialogs from a script and
// records what was asked. A file dialog without a scripted answer is cancelled.
class ScriptedDialogs : public UserDialogs {
public:
    struct FileRequest {
        QString title;
        QString start;
        QStringList filters;
    };

    QStringList messages;
    std::deque<bool> confirmAnswers;
    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::vector<FileRequest> openRequests;
    std::vector<FileRequest> saveRequests;

    void message(const QString &text) override { messages << text; }
    bool confirm(const QString &text) override
    {
        messages << text;
        if (confirmAnswers.empty())
            return true;
        const bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }
    QString openFileName(const QString &title, const QString &startPath,
                         const QStringList &filters) override
    {
        openRequests.push_back({title, startPath, filters});
        return next(openAnswers);
    }
    QString saveFileName(const QString &title, const QString &proposed,
                         const QStringList &filters) override
    {
        saveRequests.push_back({title, proposed, filters});
        return next(saveAnswers);
    }

private:
    static QString next(std::deque<QString> &answers)
    {
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace zelvar::test
