#include "platform/saneworker.h"

#include "platform/sanepageassembler.h"

#include <sane/saneopts.h>

#include <algorithm>
#include <vector>

namespace {

QString statusText(SANE_Status status)
{
    return QString::fromLocal8Bit(sane_strstatus(status));
}

bool isUsable(const SANE_Option_Descriptor* option)
{
    return option && SANE_OPTION_IS_ACTIVE(option->cap) && SANE_OPTION_IS_SETTABLE(option->cap);
}

int toDpi(const SANE_Option_Descriptor* option, SANE_Word word)
{
    return option->type == SANE_TYPE_FIXED ? qRound(SANE_UNFIX(word)) : int(word);
}

SANE_Word fromDpi(const SANE_Option_Descriptor* option, int dpi)
{
    return option->type == SANE_TYPE_FIXED ? SANE_FIX(dpi) : SANE_Word(dpi);
}

} // namespace

SaneWorker::SaneWorker(QObject* parent) : QObject(parent)
{
}

SaneWorker::~SaneWorker()
{
    closeDevice();
}

bool SaneWorker::isFeederSource(const QString& source)
{
    return source.contains(QLatin1String("ADF"), Qt::CaseInsensitive) ||
           source.contains(QLatin1String("feeder"), Qt::CaseInsensitive);
}

QList<int> SaneWorker::resolutionChoices(int minimum, int maximum, int current)
{
    QList<int> choices;
    for (int dpi : {50, 75, 100, 150, 200, 300, 600, 1200, 2400, 4800}) {
        if (dpi >= minimum && dpi <= maximum)
            choices << dpi;
    }
    if (current >= minimum && current <= maximum && !choices.contains(current))
        choices << current;
    if (choices.isEmpty())
        choices << minimum;
    std::sort(choices.begin(), choices.end());
    return choices;
}

void SaneWorker::discover()
{
    QList<SaneDevice> found;
    const SANE_Device** devices = nullptr;
    if (sane_get_devices(&devices, SANE_FALSE) == SANE_STATUS_GOOD && devices) {
        for (int i = 0; devices[i]; ++i) {
            const SANE_Device* device = devices[i];
            const QString name = QString::fromLocal8Bit(device->name);
            const QString label = QStringLiteral("%1 %2 (%3)")
                                      .arg(QString::fromLocal8Bit(device->vendor),
                                           QString::fromLocal8Bit(device->model), name);
            found.append({name, label});
        }
    }
    emit devicesFound(found);
}

void SaneWorker::openDevice(const QString& name)
{
    closeDevice();
    SaneDeviceOptions options;
    const SANE_Status status = sane_open(name.toLocal8Bit().constData(), &m_handle);
    if (status != SANE_STATUS_GOOD) {
        m_handle = nullptr;
        options.error = statusText(status);
        emit deviceOpened(options);
        return;
    }
    options.source = stringOption(optionIndex(SANE_NAME_SCAN_SOURCE), &options.sources);
    options.mode = stringOption(optionIndex(SANE_NAME_SCAN_MODE), &options.modes);
    options.resolution =
        resolutionOption(optionIndex(SANE_NAME_SCAN_RESOLUTION), &options.resolutions);
    emit deviceOpened(options);
}

void SaneWorker::closeDevice()
{
    if (m_handle) {
        sane_close(m_handle);
        m_handle = nullptr;
    }
}

int SaneWorker::optionIndex(const char* name) const
{
    if (!m_handle)
        return -1;
    SANE_Int count = 0;
    if (sane_control_option(m_handle, 0, SANE_ACTION_GET_VALUE, &count, nullptr) !=
        SANE_STATUS_GOOD)
        return -1;
    for (SANE_Int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor* option = sane_get_option_descriptor(m_handle, i);
        if (option && option->name && qstrcmp(option->name, name) == 0)
            return isUsable(option) ? i : -1;
    }
    return -1;
}

QString SaneWorker::stringOption(int index, QStringList* choices) const
{
    const SANE_Option_Descriptor* option =
        index > 0 ? sane_get_option_descriptor(m_handle, index) : nullptr;
    if (!option || option->type != SANE_TYPE_STRING ||
        option->constraint_type != SANE_CONSTRAINT_STRING_LIST || option->size <= 0)
        return QString();
    for (const SANE_String_Const* item = option->constraint.string_list; *item; ++item)
        choices->append(QString::fromLocal8Bit(*item));
    std::vector<char> value(size_t(option->size) + 1, '\0');
    if (sane_control_option(m_handle, index, SANE_ACTION_GET_VALUE, value.data(), nullptr) !=
        SANE_STATUS_GOOD)
        return QString();
    return QString::fromLocal8Bit(value.data());
}

int SaneWorker::resolutionOption(int index, QList<int>* choices) const
{
    const SANE_Option_Descriptor* option =
        index > 0 ? sane_get_option_descriptor(m_handle, index) : nullptr;
    if (!option || (option->type != SANE_TYPE_INT && option->type != SANE_TYPE_FIXED) ||
        option->size != sizeof(SANE_Word))
        return 0;
    SANE_Word word = 0;
    if (sane_control_option(m_handle, index, SANE_ACTION_GET_VALUE, &word, nullptr) !=
        SANE_STATUS_GOOD)
        return 0;
    const int current = toDpi(option, word);
    if (option->constraint_type == SANE_CONSTRAINT_WORD_LIST) {
        const SANE_Word* list = option->constraint.word_list;
        for (SANE_Word i = 1; i <= list[0]; ++i)
            choices->append(toDpi(option, list[i]));
    } else if (option->constraint_type == SANE_CONSTRAINT_RANGE) {
        *choices = resolutionChoices(toDpi(option, option->constraint.range->min),
                                     toDpi(option, option->constraint.range->max), current);
    } else {
        choices->append(current);
    }
    return current;
}

void SaneWorker::setStringOption(const char* name, const QString& value)
{
    const int index = optionIndex(name);
    const SANE_Option_Descriptor* option =
        index > 0 ? sane_get_option_descriptor(m_handle, index) : nullptr;
    if (!option || option->type != SANE_TYPE_STRING || value.isEmpty())
        return;
    QByteArray bytes = value.toLocal8Bit();
    if (bytes.size() >= option->size)
        return;
    bytes.resize(option->size);
    sane_control_option(m_handle, index, SANE_ACTION_SET_VALUE, bytes.data(), nullptr);
}

void SaneWorker::setResolution(int dpi)
{
    const int index = optionIndex(SANE_NAME_SCAN_RESOLUTION);
    const SANE_Option_Descriptor* option =
        index > 0 ? sane_get_option_descriptor(m_handle, index) : nullptr;
    if (!option || dpi <= 0 || option->size != sizeof(SANE_Word) ||
        (option->type != SANE_TYPE_INT && option->type != SANE_TYPE_FIXED))
        return;
    SANE_Word word = fromDpi(option, dpi);
    sane_control_option(m_handle, index, SANE_ACTION_SET_VALUE, &word, nullptr);
}

void SaneWorker::scan(const SaneScanRequest& request)
{
    if (!m_handle) {
        emit scanFinished(tr("No scanner is open."));
        return;
    }
    // Source first: it can change which modes and resolutions there are.
    setStringOption(SANE_NAME_SCAN_SOURCE, request.source);
    setStringOption(SANE_NAME_SCAN_MODE, request.mode);
    setResolution(request.resolution);

    const bool feeder = isFeederSource(request.source);
    QString error;
    for (int pages = 0; !m_cancelled; ++pages) {
        SANE_Status status = sane_start(m_handle);
        if (status == SANE_STATUS_GOOD) {
            SanePageAssembler page;
            status = readPage(page, &error);
            if (status == SANE_STATUS_GOOD)
                emit pageScanned(page.image());
        }
        // An empty feeder after the first page is the normal end of a batch.
        if (status == SANE_STATUS_NO_DOCS && pages > 0)
            break;
        if (status != SANE_STATUS_GOOD) {
            if (status != SANE_STATUS_CANCELLED && error.isEmpty())
                error = statusText(status);
            break;
        }
        if (!feeder)
            break;
    }
    sane_cancel(m_handle);
    emit scanFinished(error);
}

SANE_Status SaneWorker::readPage(SanePageAssembler& page, QString* error)
{
    std::vector<SANE_Byte> buffer(size_t(64) * 1024);
    int lastProgress = -2;
    for (;;) {
        SANE_Parameters parameters;
        SANE_Status status = sane_get_parameters(m_handle, &parameters);
        if (status != SANE_STATUS_GOOD)
            return status;
        if (!page.beginFrame(parameters)) {
            *error = tr("The scanner delivers a picture format that cannot be read.");
            return SANE_STATUS_UNSUPPORTED;
        }
        for (;;) {
            if (m_cancelled)
                return SANE_STATUS_CANCELLED;
            SANE_Int length = 0;
            status = sane_read(m_handle, buffer.data(), SANE_Int(buffer.size()), &length);
            if (status == SANE_STATUS_EOF)
                break;
            if (status != SANE_STATUS_GOOD)
                return status;
            if (!page.addData(reinterpret_cast<const char*>(buffer.data()), length)) {
                *error = tr("The scanned picture is too large.");
                return SANE_STATUS_NO_MEM;
            }
            const int progress = page.progress();
            if (progress != lastProgress) {
                lastProgress = progress;
                emit progressChanged(progress);
            }
        }
        if (!page.endFrame()) {
            *error = tr("The scanner delivered no picture.");
            return SANE_STATUS_INVAL;
        }
        if (page.isComplete())
            return SANE_STATUS_GOOD;
        status = sane_start(m_handle);
        if (status != SANE_STATUS_GOOD)
            return status;
    }
}
