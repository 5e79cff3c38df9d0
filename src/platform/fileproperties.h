#pragma once

#include <QCoreApplication>
#include <QList>
#include <QPair>
#include <QString>

class QFileInfo;
class QSize;

// What the lumo-props tool tells about one path, as labelled texts. Images are measured from
// their header, never decoded, so a huge or broken file costs nothing.
class FileProperties
{
    Q_DECLARE_TR_FUNCTIONS(FileProperties)

public:
    enum class Field { Name, Location, Type, Size, Contents, Modified, Dimensions, LinkTarget };

    explicit FileProperties(const QString& path);

    // A link to nothing exists: it can be described.
    bool exists() const { return m_exists; }
    QString name() const { return text(Field::Name); }

    // The fields that apply to this path, in the order they are shown.
    QList<Field> fields() const;
    // Empty when the field does not apply.
    QString text(Field field) const;
    static QString label(Field field);

    static QString sizeText(qint64 bytes);

private:
    void set(Field field, const QString& text);
    // Through a decoder helper unless the pool decodes in this process; invalid when unreadable.
    static QSize uprightSize(const QString& path);
    static QString dimensionsText(const QFileInfo& entry, bool isImageType);
    static QString contentsText(const QFileInfo& entry);

    bool m_exists = false;
    QList<QPair<Field, QString>> m_rows;
};
