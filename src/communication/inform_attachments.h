#pragma once
// Attachments of an information (LINKI): a local file (PLIK) becomes an
// internet link (LINK) when it is sent to the web service by the
// synchronisation's attachment mode; either is opened with the program the
// operating system has for it.

#include <QString>

#include <functional>

struct RunContext;

namespace inform {

// "Brak określenia załącznika lokalnego"
QString noLocalFileMessage();
// "Jest już określony odnośnik internetowy"
QString linkExistsMessage();
// "Informacja dla wybranej grupy nie może mieć załączników"
QString groupAttachmentRefusal();

struct UploadRequest {
    int linkId = 0;    // LINKI.ID: the file's name at the service
    QString file;      // the local file
    QString password;  // the web password typed for the last upload; empty: ask
};

struct UploadResult {
    bool sent = false;
    QString link;      // empty when none came back
    QString password;  // the password the exchange ran with
};

// Runs the attachment mode of the exchange for one file. The program shows
// it in the synchronisation window; uploadWithoutWindow serves where there
// is none.
using AttachmentUpload = std::function<UploadResult(RunContext&, const UploadRequest&)>;

// The exchange on the store's service address, the password asked as text
// ("Hasło") when none is remembered; a missing address is reported.
UploadResult uploadWithoutWindow(RunContext& context, const UploadRequest& request);

}  // namespace inform
