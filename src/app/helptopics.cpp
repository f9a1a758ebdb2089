#include "app/helptopics.h"

namespace velmora::help {

namespace {

std::vector<Topic> buildTopics()
{
    std::vector<Topic> all;

    all.push_back(
        {QStringLiteral("Uno sguardo a Velmora"),
         {
             QStringLiteral(
                 "Velmora è il programma pensato per alberghi, residence, bed and breakfast, pensioni, "
                 "stabilimenti balneari e altre attività turistiche che desiderano registrare le consumazioni "
                 "del bar e del minibar, le ordinazioni del ristorante, il servizio in camera, il parcheggio e "
                 "il noleggio di ombrelloni e sdraio, tenendo traccia di ogni addebito sul conto di ciascun "
                 "cliente."),
             QStringLiteral("Il programma è adatto ai conti che i clienti saldano periodicamente o al termine del "
                            "soggiorno: ogni consumazione registra la data e l'ora, il tavolo (oppure l'ombrellone, la "
                            "postazione in spiaggia e così via), il cameriere o l'operatore, il cliente, la camera o "
                            "altro alloggio e il numero di cellulare, mentre il prodotto o il servizio può essere "
                            "descritto in dettaglio importandolo da un archivio."),
             QStringLiteral("Un conto può essere sospeso e riaperto in qualsiasi momento per aggiungere, modificare o "
                            "eliminare consumazioni, e il suo totale viene mostrato subito ogni volta che una "
                            "consumazione viene salvata o modificata."),
             QStringLiteral("Il programma è composto da quattro ambienti di lavoro che tengono traccia di "
                            "tutte le consumazioni e di tutti i servizi forniti ai clienti."),
             QStringLiteral("Il primo gestisce l'anagrafica dei clienti, i cui nominativi possono essere "
                            "importati nelle schede delle consumazioni."),
             QStringLiteral("Il secondo gestisce i prodotti e i servizi offerti dalla struttura (albergo, residence, "
                            "agriturismo, stabilimento balneare, associazione, circolo e così via), da importare nei "
                            "conti."),
             QStringLiteral("Il terzo crea il file di un nuovo conto con un nome significativo, che permette "
                            "di ritrovarlo facilmente nell'elenco dei conti."),
             QStringLiteral("L'ultimo mostra tutti i conti in ordine alfabetico e permette di aprirne uno per "
                            "registrare un numero qualsiasi di consumazioni."),
             QStringLiteral(
                 "L'anagrafica dei clienti è una rubrica completa che controlla la partita IVA, il codice "
                 "fiscale, le coordinate IBAN e il numero della carta di credito e permette di inviare un "
                 "messaggio di posta elettronica al cliente selezionato; con l'importazione compila in pochi "
                 "secondi il campo cliente di una consumazione; a ogni scheda cliente si può associare una "
                 "cartella di file e si possono allegare singoli documenti."),
             QStringLiteral(
                 "L'archivio dei prodotti raccoglie in un'unica schermata, per ogni articolo o servizio, il "
                 "codice e la tipologia, la marca e il modello, il produttore, una breve descrizione, i dati "
                 "del fornitore, il prezzo unitario, l'ubicazione a scaffale e la giacenza, con una quantità "
                 "minima al di sotto della quale l'utente viene avvisato di riordinare; la descrizione e il "
                 "prezzo unitario possono essere importati in una consumazione."),
             QStringLiteral(
                 "Creazione di un conto: facendo clic su \"Crea nuovo conto\" si apre una schermata in cui "
                 "digitare il nome completo del conto, preferibilmente con parole chiave come il nome del "
                 "cliente e il numero della camera; il nuovo conto compare poi nell'elenco di tutti i conti."),
             QStringLiteral(
                 "L'ambiente delle consumazioni è formato dall'elenco dei prodotti e dei servizi del conto "
                 "selezionato e dalle caselle di testo di una consumazione: premendo \"Nuovo\", compilando le "
                 "caselle e salvando si aggiorna l'elenco, che riporta data e ora, quantità, unità di misura, "
                 "prezzo unitario, descrizione e totale (prezzo unitario per quantità), con il totale "
                 "complessivo del conto in fondo."),
             QStringLiteral(
                 "Il nome del cliente e il prodotto possono essere importati dai rispettivi archivi; "
                 "l'importazione di un prodotto può aggiornarne la giacenza, e in tal caso il programma avvisa "
                 "quando l'articolo sta per esaurirsi."),
             QStringLiteral("Ogni conto può essere stampato o esportato in Excel, il che permette anche di "
                            "condividerne i dati con chi non dispone del programma."),
             QStringLiteral("Gli archivi possono essere condivisi in una rete locale tra più postazioni di lavoro."),
             QStringLiteral("Il programma funziona anche da una chiavetta USB: il programma di installazione crea le "
                            "icone di avvio e di disinstallazione, e la cartella installata può essere copiata su una "
                            "pen drive ed eseguita senza installazione avviando il file eseguibile \"Velmora.exe\"."),
             QStringLiteral("L'accesso al programma è protetto da una password scelta dall'utente."),
             QStringLiteral("In sintesi, il programma è pensato per le strutture ricettive dotate di bar, ristorante o "
                            "altri servizi che vogliono avere i pagamenti dei propri clienti sempre aggiornati, e non "
                            "richiede praticamente alcun tempo di apprendimento."),
         }});

    all.push_back(
        {QStringLiteral("Creazione di un nuovo conto"),
         {
             QStringLiteral("Facendo clic su \"Crea nuovo conto\" si apre una schermata in cui digitare il nome "
                            "completo del nuovo conto."),
             QStringLiteral("Un nome completo, con parole chiave come il nome del cliente e il numero della camera, "
                            "evita ogni confusione tra conti simili."),
             QStringLiteral("Dopo aver digitato il nome si conferma con \"Applica e chiudi\" e si torna alla "
                            "schermata di avvio, dove \"Apri conto esistente\" elenca anche il nuovo conto."),
             QStringLiteral("La creazione di un conto crea, nella cartella del programma, un file con estensione "
                            "\".for\" che ne contiene tutti i dati."),
             QStringLiteral("Per condividere un conto basta consegnare a un altro utente del programma una copia del "
                            "file \".for\", da mettere nella cartella del programma, oppure esportare il conto in "
                            "Excel."),
             QStringLiteral("Poiché tutti i file dei conti si trovano nella cartella del programma, per farne una "
                            "copia di sicurezza basta copiare l'intera cartella su un disco esterno o su una chiavetta "
                            "USB."),
         }});

    all.push_back(
        {QStringLiteral("Accesso ad un conto esistente"),
         {
             QStringLiteral("Il pulsante \"Apri conto esistente\" della schermata di avvio elenca tutti i conti in "
                            "ordine alfabetico."),
             QStringLiteral("Per aprire un conto lo si seleziona e si preme \"Apri conto\", oppure si fa doppio clic "
                            "sul suo nome."),
             QStringLiteral("Per trovare un conto si digitano una o più parole consecutive del suo nome nella casella "
                            "di ricerca e si preme \"Trova\"; premendo di nuovo \"Trova\" si passa al conto successivo "
                            "che corrisponde alla ricerca."),
             QStringLiteral("Se un conto non compare nell'elenco, non è ancora stato creato: si torna indietro con "
                            "\"Annulla\" e si usa \"Crea nuovo conto\"."),
             QStringLiteral("Si apre così una schermata in cui digitare il nome completo del conto."),
             QStringLiteral("Un nome completo, con parole chiave come il nome del cliente e il numero della camera, "
                            "evita ogni confusione."),
             QStringLiteral("Si conferma con \"Applica e chiudi\" e il nuovo conto compare nell'elenco."),
             QStringLiteral("Una riga in fondo all'elenco riporta il numero dei conti, che non ha limiti."),
             QStringLiteral("Il pulsante con il cestino elimina il conto selezionato: i dati eliminati non possono "
                            "essere recuperati."),
             QStringLiteral("Un conto saldato si chiude con l'icona \"Chiudi\": viene conservato nella cartella "
                            "\"Conti chiusi\", in una cartella per anno, con la data di chiusura nel nome."),
             QStringLiteral("Scegliendo \"Conti chiusi\" l'elenco mostra i conti chiusi, che si aprono in sola "
                            "lettura per consultarli, stamparli ed esportarli; l'icona \"Riapri\" riporta un conto "
                            "chiuso tra i conti aperti, se non esiste già un conto aperto con lo stesso nome."),
         }});

    all.push_back(
        {QStringLiteral("Gestione dei conti delle consumazioni"),
         {
             QStringLiteral("La schermata è formata dall'elenco dei prodotti e dei servizi del conto selezionato e "
                            "dalle caselle di testo della consumazione corrente."),
             QStringLiteral("Premendo \"Nuovo\", compilando le caselle e salvando si aggiunge una consumazione e si "
                            "aggiorna l'elenco, che riporta data e ora, quantità, unità di misura, prezzo unitario, "
                            "descrizione e totale (prezzo unitario per quantità), con il totale complessivo in fondo."),
             QStringLiteral("Ogni scheda registra il prodotto o il servizio, la data e l'ora, il tavolo o altra "
                            "postazione, la quantità, il prezzo unitario, il totale, l'unità di misura, il cameriere o "
                            "l'operatore, il cliente, il numero della camera o dell'alloggio e il numero di "
                            "cellulare."),
             QStringLiteral("Il cliente e il prodotto possono essere importati dai rispettivi archivi; l'importazione "
                            "di un prodotto può aggiornarne la giacenza, così che l'utente venga avvisato quando "
                            "l'articolo sta per esaurirsi."),
             QStringLiteral("Il conto può essere stampato o esportato, il che permette anche di condividerne i dati "
                            "con chi non dispone del programma."),
             QStringLiteral("Le frecce di scorrimento mostrano la scheda precedente, la successiva, la prima e "
                            "l'ultima; in alternativa basta fare clic su una consumazione dell'elenco per "
                            "visualizzarla."),
             QStringLiteral("L'icona del cestino elimina la scheda selezionata e va usata con attenzione, perché i "
                            "dati eliminati non possono essere recuperati."),
             QStringLiteral("L'icona \"Trasferisci\" sposta in un altro conto la consumazione visualizzata oppure "
                            "tutte le consumazioni del conto; un conto rimasto vuoto può poi essere eliminato."),
             QStringLiteral("L'icona della porta in alto a destra chiude la schermata e riporta alla schermata di "
                            "avvio."),
         }});

    all.push_back(
        {QStringLiteral("Riepilogo delle consumazioni"),
         {
             QStringLiteral("Il riepilogo somma le consumazioni di tutti i conti in un periodo: si apre con l'icona "
                            "del grafico nella schermata di avvio."),
             QStringLiteral("Si indicano il primo e l'ultimo giorno del periodo nella forma gg/mm/aaaa (entrambi "
                            "compresi; all'apertura valgono la data di oggi), si sceglie come raggruppare le "
                            "consumazioni, per giorno, per cameriere o operatore, per tavolo o luogo, per prodotto o "
                            "servizio oppure per conto, e si preme \"Calcola\"."),
             QStringLiteral("La tabella mostra una riga per gruppo con il numero delle consumazioni, la somma delle "
                            "quantità e l'importo, poi il totale complessivo; gli importi sono sommati al centesimo, "
                            "come nel totale di ogni conto."),
             QStringLiteral("Con \"Comprendi i conti chiusi\" il riepilogo conta anche i conti chiusi e conservati "
                            "nella cartella \"Conti chiusi\"."),
             QStringLiteral("Una consumazione la cui data, quantità o importo non si possono leggere non entra nel "
                            "totale: è contata tra le \"Non conteggiate\" ed elencata in fondo con il nome del conto "
                            "e il suo numero, così da poterla correggere."),
             QStringLiteral("Il riepilogo può essere stampato oppure esportato in un foglio di Excel."),
         }});

    all.push_back(
        {QStringLiteral("Gestione anagrafica clienti"),
         {
             QStringLiteral("L'anagrafica dei clienti serve soprattutto a compilare le schede delle consumazioni "
                            "tramite importazione."),
             QStringLiteral("È una rubrica completa che controlla partita IVA, codice fiscale, coordinate IBAN e "
                            "numero della carta di credito, invia messaggi di posta elettronica al cliente "
                            "selezionato e compila in pochi secondi il nome del cliente, la camera e il numero di "
                            "cellulare di una consumazione."),
             QStringLiteral("A ogni scheda si può associare una cartella che raccolga tutti i file relativi al "
                            "cliente, e si possono allegare singoli documenti."),
             QStringLiteral("Per aggiungere una scheda si preme \"Nuovo\", si digitano i dati e si preme \"Salva\"; "
                            "per aggiornarla si modifica la scheda visualizzata e si preme \"Salva\"; l'icona del "
                            "cestino elimina la scheda visualizzata."),
             QStringLiteral("Le icone con le frecce scorrono l'archivio dal primo all'ultimo record e viceversa; "
                            "l'icona con la lente d'ingrandimento cerca su più campi contemporaneamente e richiama un "
                            "record con un doppio clic, e i risultati della ricerca possono essere stampati."),
             QStringLiteral("Una singola scheda può essere esportata in Word e l'intera anagrafica in Excel."),
         }});

    all.push_back(
        {QStringLiteral("Gestione dell'archivio dei prodotti e servizi"),
         {
             QStringLiteral("L'archivio raccoglie in un'unica schermata i dati principali di ogni articolo o servizio "
                            "offerto, per facilitare la compilazione delle schede delle consumazioni."),
             QStringLiteral("Ogni scheda contiene il codice e la tipologia, la marca e il modello, il produttore, una "
                            "breve descrizione, i dati del fornitore, il prezzo unitario, l'ubicazione a scaffale e la "
                            "giacenza, con una quantità minima al di sotto della quale l'utente viene avvisato di "
                            "riordinare; la descrizione e il prezzo unitario possono essere importati in una "
                            "consumazione."),
             QStringLiteral("A ogni scheda si possono allegare file di qualsiasi tipo (una fotografia, documenti "
                            "tecnici) e associare una cartella con un numero qualsiasi di file; il pulsante "
                            "\"Sottoscorta\" mostra i prodotti in esaurimento e \"Elimina\" cancella la scheda "
                            "selezionata."),
         }});

    all.push_back(
        {QStringLiteral("Esportazione archivio anagrafico clienti in Microsoft Word ed Excel"),
         {
             QStringLiteral("L'anagrafica dei clienti può essere esportata in un foglio di Excel o in una tabella di "
                            "Word premendo \"Esporta archivio\" e scegliendo l'icona di Word o di Excel nella finestra "
                            "che si apre."),
             QStringLiteral("L'operazione crea subito il file di Word o di Excel con i dati dell'archivio."),
             QStringLiteral("L'utente può poi salvare il file con il nome che preferisce."),
         }});

    all.push_back(
        {QStringLiteral("Esportazione conto consumazioni in Microsoft Word ed Excel"),
         {
             QStringLiteral("Il conto selezionato può essere esportato in un foglio di Excel o in una tabella di Word "
                            "premendo \"Esporta archivio\" e scegliendo l'icona di Word o di Excel."),
             QStringLiteral("Il file viene creato immediatamente."),
             QStringLiteral("L'utente può poi salvarlo con il nome che preferisce."),
             QStringLiteral("L'esportazione permette anche di condividere i dati con chi non dispone del programma."),
         }});

    all.push_back(
        {QStringLiteral("Esportazione archivio prodotti e servizi in Microsoft Word ed Excel"),
         {
             QStringLiteral("Le schede dei prodotti e dei servizi possono essere esportate in un foglio di Excel o in "
                            "una tabella di Word premendo \"Esporta archivio\" e scegliendo l'icona di Word o di "
                            "Excel."),
             QStringLiteral("Il file viene creato immediatamente."),
             QStringLiteral("L'utente può poi salvarlo con il nome che preferisce."),
         }});

    return all;
}

} // namespace

const std::vector<Topic> &topics()
{
    static const std::vector<Topic> all = buildTopics();
    return all;
}

const Topic *findTopic(const QString &title)
{
    for (const Topic &t : topics()) {
        if (t.title == title)
            return &t;
    }
    return nullptr;
}

QString topicText(const Topic &topic)
{
    return topic.paragraphs.join(QStringLiteral("\r\n\r\n"));
}

} // namespace velmora::help
