#include "errors.h"

#include "environment.h"

#include <cerrno>

RuntimeError::RuntimeError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}

namespace rtl {
QString notAFloat(const QString &text)
{
    return QStringLiteral("'%1' n'est pas une valeur en virgule flottante correcte").arg(text);
}
QString notAnInteger(const QString &text)
{
    return QStringLiteral("'%1' n'est pas une valeur entière correcte").arg(text);
}
QString cannotOpenFile(const QString &path) { return QStringLiteral("Impossible d'ouvrir le fichier %1").arg(path); }
QString cannotCreateFile(const QString &path) { return QStringLiteral("Impossible de créer le fichier %1").arg(path); }
QString readBeyondEnd() { return QStringLiteral("Lecture au-delà de la fin de fichier"); }
QString accessDenied() { return QStringLiteral("Accès au fichier refusé"); }
QString fileNotFound() { return QStringLiteral("Fichier introuvable"); }
QString diskFull() { return QStringLiteral("Disque plein"); }
QString ioError(int code) { return QStringLiteral("Erreur E/S %1").arg(code); }
QString notADate(const QString &text) { return QStringLiteral("'%1' n'est pas une date correcte").arg(text); }
QString notATime(const QString &text) { return QStringLiteral("'%1' n'est pas une heure correcte").arg(text); }

QString dataSetOpen()
{
    return QStringLiteral("Impossible d'effectuer cette opération sur un ensemble de données ouvert");
}
QString dataSetClosed()
{
    return QStringLiteral("Impossible d'effectuer cette opération sur un ensemble de données fermé");
}
QString notEditing() { return QStringLiteral("Ensemble de données non en mode édition ou insertion"); }
QString fieldNotFound(const QString &field) { return QStringLiteral("Champ '%1' non trouvé").arg(field); }
QString notABoolean(const QString &text, const QString &field)
{
    return QStringLiteral("'%1' n'est pas une valeur booléenne correcte pour le champ '%2'").arg(text, field);
}
QString monthNotStored(const QString &month, const QString &tableName)
{
    return QStringLiteral("%1 n'a plus de jour enregistré dans %2.").arg(month, tableName);
}
QString noStoredMonth(const QString &tableName)
{
    return QStringLiteral("Aucun mois enregistré dans %1.").arg(tableName);
}
QString noDayToStore() { return QStringLiteral("Aucun jour à enregistrer : aucune ligne ne porte de date."); }
QString dayOutsideSheetMonth(const QString &date, const QString &month)
{
    return QStringLiteral("Le %1 n'est pas un jour de %2, le mois de cette feuille : une feuille ne tient qu'un "
                          "mois.\nValidez-le, puis rouvrez la fenêtre des heures pour saisir un autre mois.")
        .arg(date, month);
}
QString tableLocked(const QString &path)
{
    return QStringLiteral("La table %1 est verrouillée : une autre fenêtre (Revoir un mois...) ou un autre "
                          "programme la tient ouverte. Rien n'y a été enregistré.")
        .arg(path);
}

QString tableFailure(TableAction action, const QString &tableName, const QString &engineText)
{
    QString what;
    switch (action) {
    case TableAction::Store: what = QStringLiteral("Impossible d'enregistrer les jours dans %1 :"); break;
    case TableAction::Open: what = QStringLiteral("Impossible d'ouvrir les jours de %1 :"); break;
    case TableAction::Read: what = QStringLiteral("Impossible de lire les jours de %1 :"); break;
    case TableAction::Change: what = QStringLiteral("Impossible de modifier les jours de %1 :"); break;
    case TableAction::Delete: what = QStringLiteral("Impossible de supprimer le jour de %1 :"); break;
    }
    return what.arg(tableName) + QLatin1Char('\n') + engineText;
}
QString invalidMaskedInput()
{
    return QStringLiteral("Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications");
}
QString invalidFloatOperation() { return QStringLiteral("Opération en virgule flottante incorrecte"); }
QString noDefaultPrinter() { return QStringLiteral("Aucune imprimante par défaut sélectionnée"); }
QString printerFailed(const QString &printer) { return QStringLiteral("Impossible d'imprimer sur %1").arg(printer); }
QString unknownPictureExtension(const QString &extension)
{
    return QStringLiteral("Extension de fichier image inconnue (.%1)").arg(extension);
}
QString jpegError(int code) { return QStringLiteral("Erreur JPEG #%1").arg(code); }
QString outOfMemory() { return QStringLiteral("Mémoire insuffisante"); }
QString pdfPageFailed() { return QStringLiteral("Impossible de préparer la page PDF."); }

QString noValidatedMonth()
{
    return QStringLiteral("Aucun mois n'a été validé : saisissez les heures du mois, validez-les, puis revenez ici.");
}
QString slipNotComputed(const QString &reason)
{
    return QStringLiteral("Le bulletin de ce mois ne peut pas être calculé : %1").arg(reason);
}
QString zeroGrossSalary()
{
    return QStringLiteral("Le salaire brut du mois est nul : il n'y a pas de salaire à déclarer.");
}
QString noBasisChosen()
{
    return QStringLiteral("Choisissez le mode de calcul (NET ou BRUT) dans les paramètres de l'enfant.");
}
QString archiveReadFailed(const QString &path, const QString &engineText)
{
    return QStringLiteral("Impossible de lire %1 : %2").arg(path, engineText);
}
QString archiveWriteFailed(const QString &path, const QString &engineText)
{
    return QStringLiteral("Impossible d'enregistrer le bulletin dans %1 : %2").arg(path, engineText);
}
QString archiveUpgradeFailed(const QString &path, const QString &engineText)
{
    return QStringLiteral("Impossible de mettre à jour %1 : %2").arg(path, engineText);
}
QString careAidWriteFailed(const QString &path, const QString &engineText)
{
    return QStringLiteral("Impossible d'enregistrer l'aide reçue dans %1 : %2").arg(path, engineText);
}
QString archiveTooNew(const QString &path)
{
    return QStringLiteral("Le fichier %1 vient d'une version plus récente du programme : "
                          "mettez le programme à jour pour le lire.")
        .arg(path);
}
QString notAnArchive(const QString &path)
{
    return QStringLiteral("Le fichier %1 n'est pas une archive de bulletins.").arg(path);
}

QString fieldNotANumber(const QString &field, const QString &text, const QString &example)
{
    QString form = example;
    if (example.contains(QLatin1Char('.')))
        form += QStringLiteral(" ou ") + QString(example).replace(QLatin1Char('.'), QLatin1Char(','));
    return QStringLiteral(
               "%1 : '%2' n'est pas un nombre.\nTapez-le sous la forme %3 ; la valeur précédente est gardée.")
        .arg(field, text, form);
}
QString wageNotPositive(const QString &field, const QString &text)
{
    return QStringLiteral("%1 : '%2' n'est pas un salaire : il doit être supérieur à 0.\nLa valeur précédente est "
                          "gardée.")
        .arg(field, text);
}
QString fieldTooLong(const QString &field, const QString &text, int capacity)
{
    return QStringLiteral("%1 : '%2' est trop long : %3 caractères au plus.\nLa valeur précédente est gardée.")
        .arg(field, text)
        .arg(capacity);
}
QString inField(const QString &field, const QString &message) { return QStringLiteral("%1 : %2").arg(field, message); }
QString legalTableMissing(const QString &path)
{
    return QStringLiteral("Le fichier des valeurs légales %1 est introuvable : aucun minimum n'est vérifié.").arg(path);
}
QString legalTableDamaged(const QString &path, int line, const QString &why)
{
    return QStringLiteral("Le fichier des valeurs légales %1 est abîmé (ligne %2 : %3) : aucun minimum n'est vérifié.")
        .arg(path)
        .arg(line)
        .arg(why);
}

QString contributionTableMissing(const QString &path)
{
    return QStringLiteral("Le barème des cotisations %1 est introuvable : les taux en vigueur ne sont ni proposés ni "
                          "vérifiés.")
        .arg(path);
}
QString contributionTableDamaged(const QString &path, int line, const QString &why)
{
    return QStringLiteral("Le barème des cotisations %1 est abîmé (ligne %2 : %3) : les taux en vigueur ne sont ni "
                          "proposés ni vérifiés.")
        .arg(path)
        .arg(line)
        .arg(why);
}

QString ioErrorText(int code)
{
    switch (code) {
    case FileNotFound: return fileNotFound();
    case AccessDenied: return accessDenied();
    case DiskFull: return diskFull();
    case ReadBeyondEnd: return readBeyondEnd();
    default: return ioError(code);
    }
}
} // namespace rtl

namespace ratesmsg {
QString notInForce(const QDate &date)
{
    return QStringLiteral("Ces taux ne sont pas ceux en vigueur au %1 : voir « Barème en vigueur »").arg(shortDate(date));
}
QString noneKnown(const QDate &date, const QDate &first)
{
    return QStringLiteral("Le barème des cotisations ne donne aucun taux au %1 : ses premiers taux sont du %2.")
        .arg(shortDate(date), shortDate(first));
}
} // namespace ratesmsg

namespace aidmsg {
QString olderRule(const QDate &since)
{
    return QStringLiteral("Avant le %1, le CMG suivait l'ancien calcul (des montants forfaitaires selon les revenus) : "
                          "le programme ne l'estime pas pour ce mois.")
        .arg(shortDate(since));
}
QString valueMissing(const QString &key, const QString &month)
{
    return QStringLiteral("Le barème (Baremes.txt) ne donne pas « %1 » pour %2 : pas d'estimation du CMG.").arg(key, month);
}
QString familyMissing()
{
    return QStringLiteral("Pour estimer le CMG, saisissez les ressources mensuelles et le nombre d'enfants à charge "
                          "dans la page « Famille » des paramètres.");
}
QString sharedBefore(const QDate &since)
{
    return QStringLiteral("En garde alternée, chaque parent a son propre CMG à partir du %1 : pas d'estimation avant.")
        .arg(shortDate(since));
}
QString noHours() { return QStringLiteral("Aucune heure déclarée ce mois : pas de coût horaire, pas d'estimation du CMG."); }
QString aboveCeiling(const QString &resources, const QString &ceiling)
{
    return QStringLiteral("Pas de CMG : les ressources mensuelles (%1 €) dépassent le plafond de %2 €.").arg(resources, ceiling);
}
QString tooOld(int age, const QString &birthday, bool singleParent)
{
    return QStringLiteral("Pas de CMG : l'enfant a %1 ans le %2, et l'aide s'arrête avec le mois de ses %1 ans%3.")
        .arg(age)
        .arg(birthday, singleParent ? QStringLiteral(" pour un parent isolé") : QString());
}
QString familyFileDamaged(const QString &path, int line, const QString &why)
{
    return QStringLiteral("Le fichier %1 est endommagé (ligne %2 : %3) : la page « Famille » des paramètres est vide, "
                          "et « &OK » le remplacera.")
        .arg(path)
        .arg(line)
        .arg(why);
}
QString familyFileTooNew(const QString &path)
{
    return QStringLiteral("Le fichier %1 vient d'une version plus récente du programme : il est lu, mais n'est pas "
                          "remplacé.")
        .arg(path);
}
QString yearNotEstimated(const QString &month, const QString &why)
{
    return QStringLiteral("Le CMG de l'année n'est pas estimé (%1 : %2) : tapez le CMG reçu.").arg(month, why);
}
} // namespace aidmsg

namespace contractmsg {
QString endBeforeStart(const QString &first, const QString &last)
{
    return QStringLiteral("Fin du contrat : le dernier jour (%1) précède le premier (%2).").arg(last, first);
}
QString dateMissing(const QString &table, int row)
{
    return QStringLiteral("%1, ligne %2 : une date manque (« Du » et « Au » sont demandés).").arg(table).arg(row);
}
QString rangeEndBeforeStart(const QString &table, int row, const QString &from, const QString &to)
{
    return QStringLiteral("%1, ligne %2 : « Au » (%3) précède « Du » (%4).").arg(table).arg(row).arg(to, from);
}
QString absencesOverlap(int row1, int row2)
{
    return QStringLiteral("Absences, lignes %1 et %2 : les deux absences se chevauchent ; un jour n'a qu'un motif.")
        .arg(row1)
        .arg(row2);
}
QString reasonNotChosen(int row) { return QStringLiteral("Absences, ligne %1 : le motif n'est pas choisi.").arg(row); }
QString unreadNotReplaced(const QString &path)
{
    return QStringLiteral("Le contrat enregistré dans %1 n'a pas pu être lu : il n'est pas remplacé par celui de la "
                          "fenêtre. Fermez la fenêtre et rouvrez-la une fois le fichier réparé (ou restauré).")
        .arg(path);
}
QString rowOf(const QString &table, int row) { return QStringLiteral("%1, ligne %2").arg(table).arg(row); }
QString dateRefused(const QString &field, const QString &typed, const QString &first, const QString &last)
{
    return QStringLiteral("%1 : « %2 » n'est pas une date du %3 au %4 ; la date précédente est gardée.")
        .arg(field, typed, first, last);
}
QString arrivalWithoutHours(const QString &day, const QString &arrival)
{
    return QStringLiteral("%1 : l'arrivée à %2 est prévue un jour sans heures d'accueil.").arg(day, arrival);
}
QString breakIncomplete(const QString &day)
{
    return QStringLiteral("%1 : la pause demande l'heure du départ et celle du retour.").arg(day);
}
QString breakWithoutArrival(const QString &day)
{
    return QStringLiteral("%1 : une pause est prévue sans heure d'arrivée.").arg(day);
}
QString breakOutsideDay(const QString &day, const QString &from, const QString &to, const QString &arrival,
                        const QString &hours)
{
    return QStringLiteral("%1 : la pause de %2 à %3 ne tient pas dans la journée (arrivée à %4, %5 d'accueil).")
        .arg(day, from, to, arrival, hours);
}
QString dayPastMidnight(const QString &day, const QString &arrival, const QString &hours)
{
    return QStringLiteral("%1 : arrivée à %2 avec %3 d'accueil, la journée passe minuit.").arg(day, arrival, hours);
}
QString fillNeedsRegularContract()
{
    return QStringLiteral("Le mois se remplit d'après un contrat mensualisé : l'enfant n'en a pas.");
}
QString arrivalsMissing(const QStringList &weekdays)
{
    return QStringLiteral("Le contrat ne donne pas l'heure d'arrivée de : %1.\nIndiquez-la dans le contrat "
                          "(Fichier, Contrat de l'enfant), puis remplissez le mois.")
        .arg(weekdays.join(QStringLiteral(", ")));
}
QString noPlannedHours()
{
    return QStringLiteral("Heures prévues chaque jour : un contrat mensualisé prévoit des heures dans la semaine "
                          "(00:00 en tout).");
}
QString absenceOutsideContract(int row, const QString &from, const QString &to)
{
    return QStringLiteral("Absences, ligne %1 : du %2 au %3, elle est entièrement hors du contrat.")
        .arg(row)
        .arg(from, to);
}
QString absenceCut(int row, const QString &from, const QString &to, const QString &cutFrom, const QString &cutTo)
{
    return QStringLiteral("Absences, ligne %1 : du %2 au %3 dépasse le contrat ; elle compte du %4 au %5.")
        .arg(row)
        .arg(from, to, cutFrom, cutTo);
}
QString weeksOutOfRange(int weeks, int maximum)
{
    return QStringLiteral("Semaines d'accueil par an : %1 n'est pas entre 1 et %2 pour une année incomplète.")
        .arg(weeks)
        .arg(maximum);
}
QString weekTooLong(const QString &total, const QString &maximum)
{
    return QStringLiteral("Heures par semaine : %1 dépasse le maximum de %2 par semaine.").arg(total, maximum);
}
QString majorationBelowMinimum(const QString &field, int rate, int minimum)
{
    return QStringLiteral("%1 : %2 % est en dessous du minimum légal de %3 %.").arg(field).arg(rate).arg(minimum);
}
QString weeksLeft(int left, const QString &yearStart, const QString &yearEnd, int weeks)
{
    return QStringLiteral("Les périodes sans accueil laissent %1 semaines d'accueil dans l'année du contrat du %2 au "
                          "%3, et non %4.")
        .arg(left)
        .arg(yearStart, yearEnd)
        .arg(weeks);
}
QString notAContractFile(const QString &path)
{
    return QStringLiteral("Le fichier %1 n'est pas un fichier de contrats : il est laissé tel quel et rien n'y a "
                          "été enregistré.")
        .arg(path);
}
QString outOfRange(const QString &field, const QString &value, const QString &minimum, const QString &maximum)
{
    return QStringLiteral("%1 : %2 n'est pas entre %3 et %4.").arg(field, value, minimum, maximum);
}
QString notAStoredDate(const QString &field, const QString &text)
{
    return QStringLiteral("%1 : « %2 » n'est pas une date AAAA-MM-JJ.").arg(field, text);
}
QString notAWholeNumber(const QString &field, const QString &text)
{
    return QStringLiteral("%1 : « %2 » n'est pas un nombre entier.").arg(field, text);
}
QString damagedContractFile(const QString &path, int slot, const QString &why)
{
    return QStringLiteral("Le fichier %1 est endommagé : il est laissé tel quel et rien n'y a été enregistré.\n"
                          "Contrat de l'enfant %2, %3")
        .arg(path)
        .arg(slot)
        .arg(why);
}
QString contractDiskFull(const QString &path)
{
    return QStringLiteral("Impossible d'enregistrer le contrat dans %1 : le disque est plein. Le fichier est resté "
                          "tel qu'il était ; libérez de la place, puis cliquez à nouveau sur OK.")
        .arg(path);
}
QString newerContractFile(const QString &path)
{
    return QStringLiteral("Le fichier %1 vient d'une version plus récente du programme : mettez le programme à jour "
                          "pour le lire.")
        .arg(path);
}
QString storeFailed(const QString &path, const QString &engineText)
{
    return QStringLiteral("Impossible d'enregistrer le contrat dans %1 ; le fichier est resté tel qu'il était :")
               .arg(path) +
           QLatin1Char('\n') + engineText;
}
QString readFailed(const QString &path, const QString &engineText)
{
    return QStringLiteral("Impossible de lire le contrat dans %1 :").arg(path) + QLatin1Char('\n') + engineText;
}
QString noMensualisedSalary()
{
    return QStringLiteral("L'enfant est en heures réelles (accueil occasionnel) : pas de salaire mensualisé.");
}
QString limitsUnknown(const QString &month)
{
    return QStringLiteral("Les valeurs légales d'un contrat (heures par semaine, majoration) ne sont pas connues "
                          "pour %1 : pas de salaire mensualisé.")
        .arg(month);
}
QString monthOutsideContract(const QString &month, const QString &first, const QString &last)
{
    if (last.isEmpty())
        return QStringLiteral("%1 est hors du contrat, qui commence le %2.").arg(month, first);
    return QStringLiteral("%1 est hors du contrat, qui court du %2 au %3.").arg(month, first, last);
}
QString leaveUnderContract()
{
    return QStringLiteral("Sous contrat régulier, ce choix n'est pas utilisé : les congés payés suivent les règles "
                          "du contrat (Contrat de l'enfant, page « Congés »).");
}
QString hourlySlipOutsideContract(const QString &outside, bool grossBasis)
{
    return QStringLiteral("%1 Ce bulletin le paie à l'heure (%2), avec 10 % de congés payés.")
        .arg(outside, grossBasis ? QStringLiteral("bulletin de salaire brut")
                                 : QStringLiteral("modèle simplifié, basé sur le net"));
}
QString typedBeforeStart(int days, const QString &first)
{
    return days == 1 ? QStringLiteral("1 jour saisi avant le début du contrat (%1) n'est pas payé").arg(first)
                     : QStringLiteral("%1 jours saisis avant le début du contrat (%2) ne sont pas payés")
                           .arg(days)
                           .arg(first);
}
QString typedAfterEnd(int days)
{
    return days == 1 ? QStringLiteral("1 jour saisi après la fin du contrat n'est pas payé")
                     : QStringLiteral("%1 jours saisis après la fin du contrat ne sont pas payés").arg(days);
}
QString typedInAbsence(const QStringList &days)
{
    if (days.size() == 1)
        return QStringLiteral("Le %1 est saisi travaillé pendant une absence déclarée").arg(days.first());
    return QStringLiteral("Les %1 et %2 sont saisis travaillés pendant une absence déclarée")
        .arg(days.mid(0, days.size() - 1).join(QStringLiteral(", ")), days.last());
}
} // namespace contractmsg

namespace endmsg {
QString lastDayMissing() { return QStringLiteral("Fin du contrat : le dernier jour d'accueil n'est pas indiqué."); }
QString reasonMissing() { return QStringLiteral("Fin du contrat : le motif n'est pas choisi."); }
QString notificationMissing() { return QStringLiteral("Fin du contrat : la date de notification n'est pas indiquée."); }
QString notifiedBeforeStart(const QString &first, const QString &notified)
{
    return QStringLiteral("Fin du contrat : la lettre (%1) précède le premier jour du contrat (%2).")
        .arg(notified, first);
}
} // namespace endmsg

namespace texts {
QString dataUnchanged() { return QStringLiteral("Vos données n'ont pas été modifiées."); }

QString journalUnreadable(const QString &folder)
{
    return QStringLiteral("Une modification de vos données a été interrompue, et ce que le programme en avait noté "
                          "dans le dossier « %1 » est illisible. Rien n'a été touché : gardez ce dossier tel quel "
                          "et fermez le programme.")
        .arg(folder);
}

QString cannotPutBack(const QString &path)
{
    return QStringLiteral("Une modification interrompue de vos données n'a pas pu être terminée : « %1 » n'a pas pu "
                          "être déplacé.")
        .arg(path);
}

QString restoreFinished(const QString &keptFolder)
{
    return QStringLiteral("Berlivo Paye s'est arrêté pendant la restauration d'une sauvegarde. La restauration a été "
                          "terminée : vos données sont maintenant celles de la sauvegarde.\n"
                          "Vos données précédentes sont gardées dans\n%1")
        .arg(keptFolder);
}

QString restoreUndone()
{
    return QStringLiteral("Berlivo Paye s'est arrêté pendant la restauration d'une sauvegarde. La restauration a été "
                          "annulée : vos données sont celles d'avant la restauration.\n") +
           dataUnchanged();
}

QString restoreNotBegun()
{
    return QStringLiteral("Berlivo Paye s'est arrêté pendant qu'il préparait la restauration d'une sauvegarde, avant "
                          "d'avoir rien remplacé : la restauration n'a pas eu lieu.\n") +
           dataUnchanged();
}

QString slipSaveFinished(const QString &picture)
{
    return QStringLiteral("Berlivo Paye s'est arrêté pendant l'enregistrement du bulletin %1. L'enregistrement a été "
                          "terminé : l'image, le PDF et les chiffres du bulletin sont en place.")
        .arg(picture);
}

QString slipSaveUndone(const QString &picture)
{
    return QStringLiteral("Berlivo Paye s'est arrêté pendant l'enregistrement du bulletin %1, qui n'a pas pu être "
                          "terminé : enregistrez ce bulletin à nouveau.")
        .arg(picture);
}

QString slipSaveNotBegun()
{
    return QStringLiteral(
        "Berlivo Paye s'est arrêté pendant l'enregistrement d'un bulletin, avant d'avoir rien "
        "remplacé : les bulletins enregistrés sont tels qu'avant. Enregistrez ce bulletin à nouveau.");
}

QString folderNotPrepared(const QString &why)
{
    return why + QStringLiteral("\nLe dossier de données est resté tel quel : rien n'y a été créé ni remplacé.");
}

QString alreadyOpen(const QString &folder)
{
    return QStringLiteral("Berlivo Paye est déjà ouvert sur le dossier de données\n%1\n"
                          "mais il ne répond pas : sa fenêtre n'a pas pu être montrée.\n"
                          "Un seul programme à la fois peut se servir de ce dossier : l'un effacerait ce que "
                          "l'autre vient d'enregistrer. Fermez le programme déjà ouvert, puis ouvrez "
                          "Berlivo Paye à nouveau.")
        .arg(folder);
}

QString cannotLockFolder(const QString &folder)
{
    return QStringLiteral("Berlivo Paye ne peut pas réserver le dossier de données\n%1\n"
                          "(dossier en lecture seule ou disque plein) : il s'arrête sans y toucher.")
        .arg(folder);
}

QString backupLeftOut(const QStringList &names)
{
    QStringList said;
    for (const QString &name : names) {
        if (name == QLatin1String("Contrats.db"))
            said << QStringLiteral("%1 est endommagé et n'est pas dans la sauvegarde : les contrats des enfants n'y "
                                   "sont donc pas.")
                        .arg(name);
        else if (name == QLatin1String("Bulletins.db"))
            said << QStringLiteral("%1 est endommagé et n'est pas dans la sauvegarde : les chiffres des bulletins "
                                   "enregistrés n'y sont donc pas ; leurs images et leurs PDF y sont.")
                        .arg(name);
        else
            said << QStringLiteral("%1 est endommagé et n'est pas dans la sauvegarde.").arg(name);
    }
    return QStringLiteral("Attention : ") + said.join(QStringLiteral("\nAttention : "));
}
QString systemReason(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return QStringLiteral("le disque est plein");
    case EACCES:
    case EPERM: return QStringLiteral("accès refusé");
    case EROFS: return QStringLiteral("le disque est en lecture seule");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("le dossier n'existe pas");
    case ENAMETOOLONG: return QStringLiteral("nom trop long");
    default: return QStringLiteral("erreur d'écriture %1").arg(error);
    }
}
} // namespace texts

namespace backupmsg {
namespace {
QString unchanged() { return '\n' + texts::dataUnchanged(); }
} // namespace

QString notABackup(const QString &zip)
{
    return QStringLiteral("Le fichier « %1 » n'est pas une sauvegarde de Berlivo Paye.").arg(zip) + unchanged();
}
QString damaged(const QString &zip, const QString &what)
{
    return QStringLiteral("La sauvegarde « %1 » est endommagée ou incomplète (%2) : elle ne peut pas être restaurée.")
               .arg(zip, what) +
           unchanged();
}
QString tooNew(const QString &zip, const QString &version)
{
    return QStringLiteral("La sauvegarde « %1 » a été faite par une version plus récente de Berlivo Paye (%2) : "
                          "cette version ne sait pas la restaurer.")
               .arg(zip, version) +
           unchanged();
}
QString cannotOpen(const QString &zip) { return rtl::cannotOpenFile(zip) + unchanged(); }
QString tableBusy(const QString &table)
{
    return QStringLiteral("La table %1 est utilisée par un autre programme : la sauvegarde n'a pas été faite.\n"
                          "Fermez l'autre programme, puis recommencez.")
        .arg(table);
}
QString tableDamaged(const QString &table)
{
    return QStringLiteral("La table %1 est endommagée ou n'a pas la forme que lui donne Berlivo Paye : "
                          "la sauvegarde n'a pas été faite.")
        .arg(table);
}
QString tableInUse(const QString &table)
{
    return QStringLiteral("La table %1 est ouverte (fenêtre « Revoir un mois » ou autre programme) : "
                          "fermez-la, puis recommencez la restauration.")
               .arg(table) +
           unchanged();
}
QString cannotWrite(const QString &zip, const QString &why)
{
    return QStringLiteral("La sauvegarde n'a pas pu être écrite dans « %1 » : %2.").arg(zip, why);
}
QString notAFile(const QString &path, bool link)
{
    return (link ? QStringLiteral("Le fichier « %1 » est un lien symbolique : une sauvegarde ne garde que de "
                                  "vrais fichiers.")
                 : QStringLiteral("« %1 » n'est pas un fichier ordinaire : une sauvegarde ne garde que de vrais "
                                  "fichiers."))
               .arg(path) +
           QStringLiteral("\nMettez le fichier lui-même à sa place, ou ôtez-le, puis recommencez la sauvegarde.");
}
QString cannotUnpack(const QString &folder, int error)
{
    return QStringLiteral("La sauvegarde n'a pas pu être décompressée dans le dossier « %1 » (%2).")
               .arg(folder, texts::systemReason(error)) +
           unchanged();
}
QString moveFailed(const QString &path, bool putBack)
{
    return QStringLiteral("La restauration a échoué : « %1 » n'a pas pu être déplacé.\n").arg(path) +
           (putBack ? QStringLiteral("Vos données ont été remises en place.")
                    : QStringLiteral("Fermez le programme : la restauration sera terminée à son prochain démarrage."));
}
QString cannotStart(const QString &folder, const QString &why)
{
    return QStringLiteral("La restauration n'a pas pu commencer dans le dossier « %1 » (%2).").arg(folder, why) +
           unchanged();
}
QString readBackMismatch() { return QStringLiteral("l'archive relue ne correspond pas"); }

QString archiveUnreadable() { return QStringLiteral("archive illisible"); }
QString manifestUnreadable() { return QStringLiteral("inventaire illisible"); }
QString versionUnreadable() { return QStringLiteral("version de format illisible"); }
QString duplicateEntry() { return QStringLiteral("fichier en double"); }
QString fileMissing(const QString &name) { return QStringLiteral("%1 manquant").arg(name); }
QString fileUnreadable(const QString &name) { return QStringLiteral("%1 illisible").arg(name); }
QString fileAltered(const QString &name) { return QStringLiteral("%1 altéré").arg(name); }
QString sizeUnreadable(const QString &name) { return QStringLiteral("taille de %1 illisible").arg(name); }
QString fileTooLarge(const QString &name, bool table)
{
    return (table ? QStringLiteral("table %1 trop grande") : QStringLiteral("%1 trop grand")).arg(name);
}
QString tableUnreadable(const QString &name) { return QStringLiteral("table %1 abîmée").arg(name); }
QString tableHostile(const QString &name) { return QStringLiteral("table %1 avec déclencheurs ou vues").arg(name); }
QString tableOtherLayout(const QString &name) { return QStringLiteral("table %1 d'une autre forme").arg(name); }
} // namespace backupmsg

namespace ask {
QString replaceTypedRates(const QDate &date)
{
    return QStringLiteral("Remplacer les taux tapés par le barème en vigueur au %1 ?").arg(shortDate(date));
}
QString resetChild(const QString &firstName)
{
    return QStringLiteral("Remettre à zéro les paramètres de %1 ?").arg(firstName);
}
QString replaceSavedSlip(const QString &month)
{
    return QStringLiteral("Remplacer le bulletin de %1 déjà enregistré ?").arg(month);
}
QString monthAlreadyStored(const QString &month, const QString &tableName)
{
    return QStringLiteral("Mois déjà enregistré dans %1 : %2.\n"
                          "Remplacer les jours enregistrés de ce mois par ceux de la feuille, "
                          "garder les deux, ou annuler ?")
        .arg(tableName, month);
}
QStringList monthAlreadyStoredAnswers()
{
    return {QStringLiteral("Remplacer"), QStringLiteral("Garder les deux"), QStringLiteral("Annuler")};
}
QString dropUnvalidatedDays()
{
    return QStringLiteral("Des jours saisis n'ont pas été validés.\nFermer la fenêtre et les abandonner ?");
}
QString fillOverDays(const QStringList &days)
{
    return QStringLiteral("Ces jours sont déjà sur la feuille : %1.\nLes remplacer par le planning du contrat ?")
        .arg(days.join(QStringLiteral(", ")));
}
QStringList fillOverDaysAnswers()
{
    return {QStringLiteral("Remplacer"), QStringLiteral("Garder"), QStringLiteral("Annuler")};
}
QString openStoredMonthToFill(const QString &month, const QString &tableName, int days)
{
    return QStringLiteral("%1 est déjà enregistré dans %2 (%3 jours).\nL'ouvrir pour compléter d'après le contrat "
                          "les jours qui manquent ?")
        .arg(month, tableName)
        .arg(days);
}
QString dropUnvalidatedDaysForMonth(const QString &month)
{
    return QStringLiteral("Des jours saisis n'ont pas été validés.\nOuvrir %1 et les abandonner ?").arg(month);
}
QString storeContractChanges() { return QStringLiteral("Enregistrer les modifications du contrat ?"); }
QStringList yesNoCancelAnswers() { return {QStringLiteral("Oui"), QStringLiteral("Non"), QStringLiteral("Annuler")}; }
QString exportedTo(const QString &path) { return QStringLiteral("Le récapitulatif est enregistré dans\n%1").arg(path); }
QString documentSavedTo(const QString &title, const QString &path)
{
    return QStringLiteral("« %1 » est enregistré dans\n%2").arg(title, path);
}
QString checkPrinter()
{
    return QStringLiteral("Vérifiez que votre imprimante est \nsous tension, et chargée en papier");
}
QString replaceBackup(const QString &path)
{
    return QStringLiteral("Le fichier « %1 » existe déjà.\nVoulez-vous le remplacer\u00a0?").arg(path);
}
} // namespace ask
