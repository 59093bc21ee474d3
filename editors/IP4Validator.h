#pragma once

#include <QValidator>

// A dotted IPv4 address, accepted only when complete; partial addresses may still be typed.
class IP4Validator : public QValidator {
    Q_OBJECT
    Q_DISABLE_COPY(IP4Validator)

public:
    explicit IP4Validator(QObject* parent = nullptr);

    State validate(QString& input, int& pos) const override;
};
