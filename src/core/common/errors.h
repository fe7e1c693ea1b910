#pragma once
// The program's one runtime error and the runtime's French texts.
//
// Every failure the user may see (a conversion, a file, a table, a printer, a
// picture) is raised as a RuntimeError carrying the exact French text that the
// general error box shows. The texts are built here and nowhere else.

#include <QDate>
#include <QString>
#include <QStringList>
#include <stdexcept>

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(const QString &message);
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

namespace rtl {
// "'%s' n'est pas une valeur en virgule flottante correcte"
QString notAFloat(const QString &text);
// "'%s' n'est pas une valeur entière correcte"
QString notAnInteger(const QString &text);
// "Impossible d'ouvrir le fichier %s"
QString cannotOpenFile(const QString &path);
// "Impossible de créer le fichier %s"
QString cannotCreateFile(const QString &path);
QString readBeyondEnd();               // "Lecture au-delà de la fin de fichier"
QString accessDenied();                // "Accès au fichier refusé"
QString fileNotFound();                // "Fichier introuvable"
QString diskFull();                    // "Disque plein"
QString ioError(int code);             // "Erreur E/S %d"
QString notADate(const QString &text); // "'%s' n'est pas une date correcte"
QString notATime(const QString &text); // "'%s' n'est pas une heure correcte"

// The day-record tables.
QString dataSetOpen();   // "Impossible d'effectuer cette opération sur un ensemble de données ouvert"
QString dataSetClosed(); // "Impossible d'effectuer cette opération sur un ensemble de données fermé"
QString notEditing();    // "Ensemble de données non en mode édition ou insertion"
QString fieldNotFound(const QString &field); // "Champ '%s' non trouvé"
QString notABoolean(const QString &text,
                    const QString &field); // "'%s' n'est pas une valeur booléenne correcte pour le champ '%s'"
// A stored month opened that its table no longer holds (its days deleted
// in the review meanwhile), and a table that holds no month at all.
QString monthNotStored(const QString &month, const QString &tableName);
QString noStoredMonth(const QString &tableName);
QString noDayToStore(); // "Aucun jour à enregistrer : aucune ligne ne porte de date."
// A day typed in the hours window in another month than the sheet's days:
// the date (dd/MM/yyyy) and the sheet's month ("Juin 2026").
QString dayOutsideSheetMonth(const QString &date, const QString &month);
// A table held exclusively by the month review (or another program): said at
// once rather than after the engine's wait on its lock.
QString tableLocked(const QString &path);
// What the program was doing with a day-record table when it failed.
enum class TableAction { Store, Open, Read, Change, Delete };
// A table's failure as a parent reads it: a French line saying what failed on
// which table ("Impossible d'enregistrer les jours dans Enf1.db :"), then, on
// the next line, the engine's own text, kept for whoever looks further.
QString tableFailure(TableAction action, const QString &tableName, const QString &engineText);
// "Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications"
QString invalidMaskedInput();
// "Opération en virgule flottante incorrecte": a result no number can hold
QString invalidFloatOperation();

// Printing and the slip pictures.
QString noDefaultPrinter();                    // "Aucune imprimante par défaut sélectionnée"
QString printerFailed(const QString &printer); // "Impossible d'imprimer sur %s"
// "Extension de fichier image inconnue (.%s)": the extension without its dot
QString unknownPictureExtension(const QString &extension);
QString jpegError(int code); // "Erreur JPEG #%d": the JPEG library's message number
QString outOfMemory();       // "Mémoire insuffisante"
QString pdfPageFailed();     // "Impossible de préparer la page PDF."

// The slips' figures: declared for a month, or kept in the slip archive.
// "Aucun mois n'a été validé : saisissez les heures du mois, validez-les, puis revenez ici."
QString noValidatedMonth();
// "Le bulletin de ce mois ne peut pas être calculé : %s", with why.
QString slipNotComputed(const QString &reason);
// "Le salaire brut du mois est nul : il n'y a pas de salaire à déclarer."
QString zeroGrossSalary();
// "Choisissez le mode de calcul (NET ou BRUT) dans les paramètres de l'enfant."
QString noBasisChosen();
// "Impossible de lire %s : %s", and "Impossible d'enregistrer le bulletin dans %s : %s", with the engine's text.
QString archiveReadFailed(const QString &path, const QString &engineText);
QString archiveWriteFailed(const QString &path, const QString &engineText);
// An archive file a newer program laid out, or a file that is not an archive.
QString archiveTooNew(const QString &path);
QString notAnArchive(const QString &path);
// "Impossible de mettre à jour %s : %s": an older archive that could not be
// brought to the present layout.
QString archiveUpgradeFailed(const QString &path, const QString &engineText);
// "Impossible d'enregistrer l'aide reçue dans %s : %s": the year's childcare aid.
QString careAidWriteFailed(const QString &path, const QString &engineText);

// The table of legal values with their dates. Both texts end by saying that
// no minimum is checked: a table that cannot be trusted gives no warning
// rather than a wrong one.
QString legalTableMissing(const QString &path);
QString legalTableDamaged(const QString &path, int line, const QString &why);
// The dated contribution lines: the table that cannot be read gives no rates
// to fill in and no note that the rates on screen are out of date.
QString contributionTableMissing(const QString &path);
QString contributionTableDamaged(const QString &path, int line, const QString &why);

// A parameter field left with a text that is not a number: names the field
// and shows the form expected. `example` is a number of the field's kind
// ("5.13"); a decimal one is shown with its comma too.
QString fieldNotANumber(const QString &field, const QString &text, const QString &example);
// A number field's value that the program cannot keep: a wage of 0 or less,
// a text longer than the parameter file holds.
QString wageNotPositive(const QString &field, const QString &text);
QString fieldTooLong(const QString &field, const QString &text, int capacity);
// A conversion error met while reading a field: the field's name before it.
QString inField(const QString &field, const QString &message);

// The operating-system error numbers the I/O texts are chosen by.
enum IoCode { FileNotFound = 2, AccessDenied = 5, DiskFull = 101, ReadBeyondEnd = 100 };
// The text of an input/output error number: the ones with a text of their
// own get it, any other shows "Erreur E/S %d".
QString ioErrorText(int code);
} // namespace rtl

// The child's contract and its file "Contrats.db". Each fault of a contract
// names the field it lies in, as the contract window labels it.
namespace contractmsg {
// "Fin du contrat : le dernier jour (%2) précède le premier (%1)."
QString endBeforeStart(const QString &first, const QString &last);
// A row of a table of date ranges ("Périodes sans accueil", "Absences").
QString dateMissing(const QString &table, int row);
QString rangeEndBeforeStart(const QString &table, int row, const QString &from, const QString &to);
QString absencesOverlap(int row1, int row2);
// "Absences, ligne %1 : le motif n'est pas choisi."
QString reasonNotChosen(int row);
// "Absences, ligne 2": a row of a table of date ranges, as a message names it.
QString rowOf(const QString &table, int row);
// A date typed that is not one, or not in the span a contract's dates keep to.
QString dateRefused(const QString &field, const QString &typed, const QString &first, const QString &last);
// A weekday's planned times that do not hold together.
QString arrivalWithoutHours(const QString &day, const QString &arrival);
QString breakIncomplete(const QString &day);
QString breakWithoutArrival(const QString &day);
QString breakOutsideDay(const QString &day, const QString &from, const QString &to, const QString &arrival,
                        const QString &hours);
QString dayPastMidnight(const QString &day, const QString &arrival, const QString &hours);
// "Remplir d'après le contrat" without a regular contract, or without the
// arrival of each planned weekday.
QString fillNeedsRegularContract();
QString arrivalsMissing(const QStringList &weekdays);
// A regular contract planning no hour in its week.
QString noPlannedHours();
// "&OK" after the stored contract could not be read when the window opened.
QString unreadNotReplaced(const QString &path);
// An absence whose dates lie wholly outside the contract, and one cut to it.
QString absenceOutsideContract(int row, const QString &from, const QString &to);
QString absenceCut(int row, const QString &from, const QString &to, const QString &cutFrom, const QString &cutTo);
QString weeksOutOfRange(int weeks, int maximum);
QString weekTooLong(const QString &total, const QString &maximum);
// "<field> : <rate> % est en dessous du minimum légal de <minimum> %.", the
// field naming the week's limit in force.
QString majorationBelowMinimum(const QString &field, int rate, int minimum);
QString weeksLeft(int left, const QString &yearStart, const QString &yearEnd, int weeks);
QString notAContractFile(const QString &path);
// "%1 : %2 n'est pas entre %3 et %4.": a value outside what the field may hold.
QString outOfRange(const QString &field, const QString &value, const QString &minimum, const QString &maximum);
// "%1 : « %2 » n'est pas une date AAAA-MM-JJ.": a date of the file written otherwise.
QString notAStoredDate(const QString &field, const QString &text);
// "%1 : « %2 » n'est pas un nombre entier.": a number of the file that is none.
QString notAWholeNumber(const QString &field, const QString &text);
// A contract file whose layout is sound but which holds a value no contract
// may have (`why` names it): refused whole, as a damaged file.
QString damagedContractFile(const QString &path, int slot, const QString &why);
// The file could not be written for want of room.
QString contractDiskFull(const QString &path);
QString newerContractFile(const QString &path);
// What failed on the file, then, on the next line, the engine's own text.
QString storeFailed(const QString &path, const QString &engineText);
QString readFailed(const QString &path, const QString &engineText);
// The month's figures that cannot be given.
QString noMensualisedSalary();
QString limitsUnknown(const QString &month);
QString monthOutsideContract(const QString &month, const QString &first, const QString &last);
// The parameters' leave choice of a child under a regular contract.
QString leaveUnderContract();
// A slip paid by the hour for a month outside the child's contract: why
// (monthOutsideContract's text), then which slip it is.
QString hourlySlipOutsideContract(const QString &outside, bool grossBasis);
// The days typed on a contract month's sheet that its slip does not pay as
// typed: before the first day (given dd/MM/yyyy), after the last one, or
// worked inside a stated absence (each dd/MM).
QString typedBeforeStart(int days, const QString &first);
QString typedAfterEnd(int days);
QString typedInAbsence(const QStringList &days);
} // namespace contractmsg

// The end of a contract: what its figures lack, and its documents.
namespace endmsg {
QString lastDayMissing();      // "Fin du contrat : le dernier jour d'accueil n'est pas indiqué."
QString reasonMissing();       // "Fin du contrat : le motif n'est pas choisi."
QString notificationMissing(); // "Fin du contrat : la date de notification n'est pas indiquée."
// "Fin du contrat : la lettre (%2) précède le premier jour du contrat (%1)."
QString notifiedBeforeStart(const QString &first, const QString &notified);
} // namespace endmsg

// The data folder as a whole: what a start finds and does there.
namespace texts {
// Said after a refusal that touched nothing.
QString dataUnchanged(); // "Vos données n'ont pas été modifiées."
QString journalUnreadable(const QString &folder);
QString cannotPutBack(const QString &path);
// A change interrupted by a stop of the program, and what the start did with it.
QString restoreFinished(const QString &keptFolder);
QString restoreUndone();
QString restoreNotBegun();
QString slipSaveFinished(const QString &picture);
QString slipSaveUndone(const QString &picture);
QString slipSaveNotBegun();
// The start left the folder as it found it, and says why.
QString folderNotPrepared(const QString &why);
// A second start on a data folder another running program holds, when that
// program did not answer the request to bring its window forward.
QString alreadyOpen(const QString &folder);
// The lock of the data folder could not be taken for another reason.
QString cannotLockFolder(const QString &folder);
// What a backup left out, said after its success: each damaged file named
// with what the backup therefore lacks (the slip archive's figures, the
// children's contracts).
QString backupLeftOut(const QStringList &names);
// The system's error number as a French reason ("le disque est plein").
QString systemReason(int error);
} // namespace texts

// A backup archive, its check and its restore. Paths come written with the
// system's separators. A text said when nothing was touched ends with
// texts::dataUnchanged() on a line of its own.
namespace backupmsg {
QString notABackup(const QString &zip);
// `what` is one of the faults below, naming the file it lies in.
QString damaged(const QString &zip, const QString &what);
QString tooNew(const QString &zip, const QString &version);
QString cannotOpen(const QString &zip);
QString tableBusy(const QString &table);
QString tableDamaged(const QString &table);
QString tableInUse(const QString &table);
QString cannotWrite(const QString &zip, const QString &why);
// A link (or a special file) among the pictures.
QString notAFile(const QString &path, bool link);
QString cannotUnpack(const QString &folder, int error);
QString moveFailed(const QString &path, bool putBack);
QString cannotStart(const QString &folder, const QString &why);
QString readBackMismatch(); // the `why` of cannotWrite: "l'archive relue ne correspond pas"

// The faults of a damaged archive.
QString archiveUnreadable();  // "archive illisible"
QString manifestUnreadable(); // "inventaire illisible"
QString versionUnreadable();  // "version de format illisible"
QString duplicateEntry();     // "fichier en double"
QString fileMissing(const QString &name);
QString fileUnreadable(const QString &name);
QString fileAltered(const QString &name);
QString sizeUnreadable(const QString &name);
QString fileTooLarge(const QString &name, bool table);
QString tableUnreadable(const QString &name);
QString tableHostile(const QString &name);
QString tableOtherLayout(const QString &name);
} // namespace backupmsg

// The contribution table of the parameters window against the lines in force.
namespace ratesmsg {
// "Ces taux ne sont pas ceux en vigueur au %1 : voir « Barème en vigueur »"
QString notInForce(const QDate &date);
// A date before the first the dated lines know.
QString noneKnown(const QDate &date, const QDate &first);
} // namespace ratesmsg

// The childcare aid estimated for a month, and the family's particulars it
// rests on: why there is no estimate, or no aid.
namespace aidmsg {
// A month before the aid's per-hour rule (`since`, its first day).
QString olderRule(const QDate &since);
// A value of the legal table the estimate needs, unknown for the month.
QString valueMissing(const QString &key, const QString &month);
// The family's resources or number of children not typed.
QString familyMissing();
// A child in shared custody before each parent had an aid of their own.
QString sharedBefore(const QDate &since);
QString noHours();
// Amounts as shown, without the euro sign.
QString aboveCeiling(const QString &resources, const QString &ceiling);
// The birthday of the age limit, given dd/MM/yyyy.
QString tooOld(int age, const QString &birthday, bool singleParent);
// "Famille.txt" that cannot be read: the path and why.
QString familyFileDamaged(const QString &path, int line, const QString &why);
// A file written by a later version of the program, kept as it is.
QString familyFileTooNew(const QString &path);
// The year's aid not estimated for the tax credit: the first month that
// could not be, and why.
QString yearNotEstimated(const QString &month, const QString &why);
} // namespace aidmsg

// The program's questions and notices: what it asks before replacing or
// dropping the user's data, and what it tells once a file is written.
namespace ask {
// "Remettre à zéro les paramètres de <prénom> ?"
QString resetChild(const QString &firstName);
// Rates typed and not confirmed, about to be replaced by the lines in force.
QString replaceTypedRates(const QDate &date);
// "Remplacer le bulletin de <mois> déjà enregistré ?"
QString replaceSavedSlip(const QString &month);
// A validated month whose days the child's table already holds, and its three answers.
QString monthAlreadyStored(const QString &month, const QString &tableName);
QStringList monthAlreadyStoredAnswers(); // "Remplacer", "Garder les deux", "Annuler"
// "Remplir d'après le contrat" over days already on the sheet (dd/MM), and
// its three answers "Remplacer", "Garder", "Annuler".
QString fillOverDays(const QStringList &days);
QStringList fillOverDaysAnswers();
// The month to fill is stored already: it is opened to be completed.
QString openStoredMonthToFill(const QString &month, const QString &tableName, int days);
// The hours window closed with days typed and not validated.
QString dropUnvalidatedDays();
// A stored month opened over days typed and not validated.
QString dropUnvalidatedDaysForMonth(const QString &month);
// The contract window closed with edits not stored, and the three answers
// "Oui", "Non", "Annuler".
QString storeContractChanges();
QStringList yesNoCancelAnswers();
// Where an export wrote its file.
QString exportedTo(const QString &path);
// Where a document of a contract's end was saved, named by its title.
QString documentSavedTo(const QString &title, const QString &path);
// Said before a slip goes to the printer.
QString checkPrinter(); // "Vérifiez que votre imprimante est \nsous tension, et chargée en papier"
// A backup name that gained its ".zip" after the file dialog, when a file of
// that name is there.
QString replaceBackup(const QString &path);
} // namespace ask
