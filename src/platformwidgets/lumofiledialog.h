#pragma once

#include <QFileDialog>

// The desktop's modal file dialog; QFileDialog's operations keep their names and meaning.
class LumoFileDialog : public QFileDialog
{
    Q_OBJECT

public:
    explicit LumoFileDialog(QWidget* parent = nullptr, const QString& caption = QString(),
                            const QString& directory = QString(), const QString& filter = QString());
};
