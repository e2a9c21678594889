<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>ORBKIdent</name>
    <message>
        <source>Tarvex Quintar Zephrin</source>
        <translation>Tarvex Quintar Zephrin</translation>
    </message>
    <message>
        <source>Tarvex Quintar Orbisk</source>
        <translation>Tarvex Quintar Orbisk</translation>
    </message>
    <message>
        <source>Version 1.0.0</source>
        <translation>Version 1.0.0</translation>
    </message>
    <message>
        <source>Build 2009.1</source>
        <translation>Build 2009.1</translation>
    </message>
    <message>
        <source>Copyright (C) 2009 Quintar Software. All rights reserved.</source>
        <translation>Copyright (C) 2009 Quintar Software. Tous droits réservés.</translation>
    </message>
    <message>
        <source>This program is part of a test product of Quintar Software and is licensed, not sold, under the terms of the licence agreement that came with it.

Any use, copy or distribution of this program or of its parts that the licence agreement does not allow is forbidden.

The program is provided &quot;as is&quot;, without warranty of any kind, express or implied, including the warranties of merchantability and fitness for a particular purpose.</source>
        <translation>Ce programme fait partie d&apos;un produit de test de Quintar Software&#xa0;; il est concédé sous licence, et non vendu, selon les termes du contrat de licence qui l&apos;accompagne.

Toute utilisation, copie ou distribution de ce programme ou de l&apos;une de ses parties que le contrat de licence n&apos;autorise pas est interdite.

Le programme est fourni «&#xa0;en l&apos;état&#xa0;», sans garantie d&apos;aucune sorte, expresse ou implicite, y compris les garanties de qualité marchande et d&apos;adéquation à un usage particulier.</translation>
    </message>
</context>
<context>
    <name>QABinFileViewer</name>
    <message>
        <source>Size:</source>
        <translation>Taille&#xa0;:</translation>
    </message>
    <message>
        <source>SHA-256:</source>
        <translation>SHA-256&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;Replace...</source>
        <translation>&amp;Remplacer...</translation>
    </message>
    <message>
        <source>E&amp;xtract...</source>
        <translation>E&amp;xtraire...</translation>
    </message>
    <message>
        <source>Comment for &quot;%1&quot; binary file</source>
        <translation>Commentaire pour le fichier binaire &quot;%1&quot;</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>inconnu</translation>
    </message>
    <message>
        <source>The file&apos;s data is missing or damaged: replace the file.</source>
        <translation>Les données du fichier manquent ou sont endommagées&#xa0;: remplacez le fichier.</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 octets</translation>
    </message>
    <message>
        <source>The data records %1 bytes: it is damaged.</source>
        <translation>Les données indiquent %1 octets&#xa0;: elles sont endommagées.</translation>
    </message>
    <message>
        <source>The data records another digest: it is damaged.</source>
        <translation>Les données indiquent une autre empreinte&#xa0;: elles sont endommagées.</translation>
    </message>
    <message>
        <source>Replace the Binary File</source>
        <translation>Remplacer le fichier binaire</translation>
    </message>
    <message>
        <source>Binary files (*)</source>
        <translation>Fichiers binaires (*)</translation>
    </message>
    <message>
        <source>Encoding the binary file...</source>
        <translation>Encodage du fichier binaire...</translation>
    </message>
    <message>
        <source>The encoding script could not be started.</source>
        <translation>Le script d&apos;encodage n&apos;a pas pu être lancé.</translation>
    </message>
    <message>
        <source>ERROR: the binary file was not replaced.</source>
        <translation>ERREUR&#xa0;: le fichier binaire n&apos;a pas été remplacé.</translation>
    </message>
    <message>
        <source>The encoded file cannot be read: %1</source>
        <translation>Le fichier encodé ne peut pas être lu&#xa0;: %1</translation>
    </message>
    <message>
        <source>Replace Binary File</source>
        <translation>Remplacer le fichier binaire</translation>
    </message>
    <message>
        <source>Binary file replaced.</source>
        <translation>Fichier binaire remplacé.</translation>
    </message>
    <message>
        <source>Extract the Binary File</source>
        <translation>Extraire le fichier binaire</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>The file %1 cannot be written: %2</source>
        <translation>Le fichier %1 ne peut pas être écrit&#xa0;: %2</translation>
    </message>
    <message>
        <source>Binary file extracted to %1.</source>
        <translation>Fichier binaire extrait vers %1.</translation>
    </message>
    <message>
        <source>reading the data...</source>
        <translation>lecture des données...</translation>
    </message>
</context>
<context>
    <name>QABinaryMacro</name>
    <message>
        <source>Text_IO</source>
        <translation>Text_IO</translation>
    </message>
    <message>
        <source>USR_APPLICATION_MULTIPROCESS</source>
        <translation>USR_APPLICATION_MULTIPROCESS</translation>
    </message>
    <message>
        <source>USR_BIG_ENDIAN</source>
        <translation>USR_BIG_ENDIAN</translation>
    </message>
    <message>
        <source>USR_CPP_EXCEPTIONS</source>
        <translation>USR_CPP_EXCEPTIONS</translation>
    </message>
    <message>
        <source>USR_CPP_NAMESPACES</source>
        <translation>USR_CPP_NAMESPACES</translation>
    </message>
    <message>
        <source>USR_CPP_RTTI</source>
        <translation>USR_CPP_RTTI</translation>
    </message>
    <message>
        <source>USR_CT_STUBS</source>
        <translation>USR_CT_STUBS</translation>
    </message>
    <message>
        <source>USR_DYNTRACK</source>
        <translation>USR_DYNTRACK</translation>
    </message>
    <message>
        <source>USR_HAS_BOUNDED_STRINGS</source>
        <translation>USR_HAS_BOUNDED_STRINGS</translation>
    </message>
    <message>
        <source>USR_HAS_DOUBLE</source>
        <translation>USR_HAS_DOUBLE</translation>
    </message>
    <message>
        <source>USR_HAS_FLOAT</source>
        <translation>USR_HAS_FLOAT</translation>
    </message>
    <message>
        <source>USR_HAS_INLINE</source>
        <translation>USR_HAS_INLINE</translation>
    </message>
    <message>
        <source>USR_HAS_SNPRINTF</source>
        <translation>USR_HAS_SNPRINTF</translation>
    </message>
    <message>
        <source>USR_HAS_SPRINTF</source>
        <translation>USR_HAS_SPRINTF</translation>
    </message>
    <message>
        <source>USR_HAS_STDARG</source>
        <translation>USR_HAS_STDARG</translation>
    </message>
    <message>
        <source>USR_HAS_STRING_H</source>
        <translation>USR_HAS_STRING_H</translation>
    </message>
    <message>
        <source>USR_HAS_STRNLEN</source>
        <translation>USR_HAS_STRNLEN</translation>
    </message>
    <message>
        <source>USR_INIT_SUPPORTED</source>
        <translation>USR_INIT_SUPPORTED</translation>
    </message>
    <message>
        <source>USR_IO_APPEND</source>
        <translation>USR_IO_APPEND</translation>
    </message>
    <message>
        <source>USR_IO_FLUSH_EACH_LINE</source>
        <translation>USR_IO_FLUSH_EACH_LINE</translation>
    </message>
    <message>
        <source>USR_MAIN_HAS_ARGUMENTS</source>
        <translation>USR_MAIN_HAS_ARGUMENTS</translation>
    </message>
    <message>
        <source>USR_MAIN_IS_FUNCTION</source>
        <translation>USR_MAIN_IS_FUNCTION</translation>
    </message>
    <message>
        <source>USR_NO_DYNAMIC_MEMORY</source>
        <translation>USR_NO_DYNAMIC_MEMORY</translation>
    </message>
    <message>
        <source>USR_NO_EXCEPTIONS</source>
        <translation>USR_NO_EXCEPTIONS</translation>
    </message>
    <message>
        <source>USR_NO_FILE_SYSTEM</source>
        <translation>USR_NO_FILE_SYSTEM</translation>
    </message>
    <message>
        <source>USR_NO_TASKING</source>
        <translation>USR_NO_TASKING</translation>
    </message>
    <message>
        <source>USR_OBS_TIMESTAMPS</source>
        <translation>USR_OBS_TIMESTAMPS</translation>
    </message>
    <message>
        <source>USR_POOL_CHECKS</source>
        <translation>USR_POOL_CHECKS</translation>
    </message>
    <message>
        <source>USR_STOP_ON_FIRST_FAILURE</source>
        <translation>USR_STOP_ON_FIRST_FAILURE</translation>
    </message>
    <message>
        <source>USR_THREAD_LOCAL</source>
        <translation>USR_THREAD_LOCAL</translation>
    </message>
    <message>
        <source>USR_WRAP_CALLOC</source>
        <translation>USR_WRAP_CALLOC</translation>
    </message>
    <message>
        <source>USR_WRAP_MALLOC</source>
        <translation>USR_WRAP_MALLOC</translation>
    </message>
    <message>
        <source>USR_WRAP_REALLOC</source>
        <translation>USR_WRAP_REALLOC</translation>
    </message>
    <message>
        <source>Unchecked_Conversion</source>
        <translation>Unchecked_Conversion</translation>
    </message>
    <message>
        <source>Unchecked_Deallocation</source>
        <translation>Unchecked_Deallocation</translation>
    </message>
</context>
<context>
    <name>QABuildNode</name>
    <message>
        <source>Ascii File</source>
        <translation>Fichier ASCII</translation>
    </message>
    <message>
        <source>Binary File</source>
        <translation>Fichier binaire</translation>
    </message>
    <message>
        <source>A&amp;ppend</source>
        <translation>&amp;Ajouter à la suite</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Renommer</translation>
    </message>
    <message>
        <source>&amp;Add Child</source>
        <translation>&amp;Ajouter un enfant</translation>
    </message>
</context>
<context>
    <name>QAChoiceViewer</name>
    <message>
        <source>Comment for &quot;%1&quot; node </source>
        <comment>used to display title on comment window, %1 is the subject of the comment</comment>
        <translation>Commentaire pour le nœud &quot;%1&quot; </translation>
    </message>
    <message>
        <source>Comment for %1 item </source>
        <comment>used to display title on comment window, %1 is the subject of the comment</comment>
        <translation>Commentaire pour l&apos;élément %1 </translation>
    </message>
</context>
<context>
    <name>QACommentViewer</name>
    <message>
        <source>the root</source>
        <translation>racine</translation>
    </message>
    <message>
        <source>Comment for %1 node</source>
        <comment>used to display title on comment window, %1 is the subject of the comment</comment>
        <translation>Commentaire pour le nœud %1</translation>
    </message>
</context>
<context>
    <name>QAFctViewer</name>
    <message>
        <source>Comment for &quot;%1&quot; node </source>
        <comment>used to display title on comment window, %1 is the subject of the comment</comment>
        <translation>Commentaire pour le nœud &quot;%1&quot; </translation>
    </message>
</context>
<context>
    <name>QAFindPane</name>
    <message>
        <source>F&amp;ind:</source>
        <translation>Rec&amp;hercher&#xa0;:</translation>
    </message>
    <message>
        <source>Replace &amp;with:</source>
        <translation>Remplacer &amp;par&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>&amp;Remplacer</translation>
    </message>
    <message>
        <source>Replace &amp;All</source>
        <translation>Remplacer &amp;tout</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>Respecter la &amp;casse</translation>
    </message>
    <message>
        <source>Whole w&amp;ord</source>
        <translation>M&amp;ot entier</translation>
    </message>
    <message>
        <source>Wil&amp;dcard</source>
        <translation>&amp;Jokers</translation>
    </message>
    <message>
        <source>Regular e&amp;xpression</source>
        <translation>E&amp;xpression régulière</translation>
    </message>
    <message>
        <source>Node</source>
        <translation>Nœud</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Ligne</translation>
    </message>
    <message>
        <source>Not a valid expression: %1</source>
        <translation>Expression non valide&#xa0;: %1</translation>
    </message>
    <message>
        <source>No match for &quot;%1&quot;</source>
        <translation>Aucune occurrence de &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 so far...</source>
        <translation>%1 pour le moment...</translation>
    </message>
    <message>
        <source>Search hit bottom, continuing at top</source>
        <translation>Fin du document atteinte, reprise au début</translation>
    </message>
    <message>
        <source>Search hit top, continuing at bottom</source>
        <translation>Début du document atteint, reprise à la fin</translation>
    </message>
    <message>
        <source>The text has changed since the search; search again.</source>
        <translation>Le texte a changé depuis la recherche&#xa0;; relancez-la.</translation>
    </message>
    <message>
        <source>Names, labels, keys and variants are not replaced.</source>
        <translation>Les noms, libellés, clés et variantes ne sont pas remplacés.</translation>
    </message>
    <message>
        <source>Replace All</source>
        <translation>Tout remplacer</translation>
    </message>
    <message>
        <source>%1 match(es)</source>
        <translation>%1 occurrence(s)</translation>
    </message>
    <message>
        <source>%1 replacement(s) made.</source>
        <translation>%1 remplacement(s) effectué(s).</translation>
    </message>
</context>
<context>
    <name>QAFreeText</name>
    <message>
        <source>Enter text here:</source>
        <comment>used in Add ASCII file window</comment>
        <translation>Saisissez le texte ici&#xa0;:</translation>
    </message>
    <message>
        <source>Comment for &quot;%1&quot; node:</source>
        <translation>Commentaire pour le nœud &quot;%1&quot;&#xa0;:</translation>
    </message>
</context>
<context>
    <name>QAIsViewer</name>
    <message>
        <source>KEY</source>
        <comment>head of the basic setting key names</comment>
        <translation>KEY</translation>
    </message>
    <message>
        <source>VALUE</source>
        <comment>head of the basic setting key values</comment>
        <translation>VALUE</translation>
    </message>
    <message>
        <source>Add...</source>
        <comment>button name to add a new basic setting key</comment>
        <translation>Ajouter...</translation>
    </message>
    <message>
        <source>Remove</source>
        <comment>button name to remove a basic setting key</comment>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Move Up</source>
        <comment>button name to move a basic setting key</comment>
        <translation>Monter</translation>
    </message>
    <message>
        <source>Move Down</source>
        <comment>button name to move a basic setting key</comment>
        <translation>Descendre</translation>
    </message>
    <message>
        <source>Comment for &quot;%1&quot; node:</source>
        <translation>Commentaire pour le nœud &quot;%1&quot;&#xa0;:</translation>
    </message>
    <message>
        <source>Comment for &quot;%1&quot; item:</source>
        <translation>Commentaire pour l&apos;élément &quot;%1&quot;&#xa0;:</translation>
    </message>
    <message>
        <source>*** empty ***</source>
        <comment>empty key value</comment>
        <translation>*** vide ***</translation>
    </message>
    <message>
        <source>New Key</source>
        <comment>add key window title</comment>
        <translation>Nouvelle clé</translation>
    </message>
    <message>
        <source>Enter the name of the new key:</source>
        <comment>add key window text</comment>
        <translation>Saisissez le nom de la nouvelle clé&#xa0;:</translation>
    </message>
    <message>
        <source>Velmor Editor</source>
        <comment>error window title</comment>
        <translation>Velmor Editor</translation>
    </message>
    <message>
        <source>This key already exists, You must enter another key.</source>
        <comment>error window text</comment>
        <translation>Cette clé existe déjà. Vous devez saisir une autre clé.</translation>
    </message>
</context>
<context>
    <name>QAItemViewer</name>
    <message>
        <source>Comment for &quot;%1&quot; node:</source>
        <translation>Commentaire pour le nœud &quot;%1&quot;&#xa0;:</translation>
    </message>
    <message>
        <source>Comment for &quot;%1&quot; item:</source>
        <translation>Commentaire pour l&apos;élément &quot;%1&quot;&#xa0;:</translation>
    </message>
</context>
<context>
    <name>QAMainWindowEditor</name>
    <message>
        <source>Find</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Create a new file</source>
        <translation>Créer un nouveau fichier</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Nouveau</translation>
    </message>
    <message>
        <source>Open an existing file</source>
        <translation>Ouvrir un fichier existant</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Ouvrir...</translation>
    </message>
    <message>
        <source>Save and Generate the current file</source>
        <translation>Enregistrer et générer le fichier courant</translation>
    </message>
    <message>
        <source>&amp;Save &amp;&amp; Generate</source>
        <translation>&amp;Enregistrer &amp;&amp; générer</translation>
    </message>
    <message>
        <source>Save the current xvm file with a new name</source>
        <translation>Enregistrer le fichier xvm courant sous un nouveau nom</translation>
    </message>
    <message>
        <source>Save xvm &amp;As...</source>
        <translation>Enregistrer xvm &amp;sous...</translation>
    </message>
    <message>
        <source>save &amp; Generate the current VMR somewhere else</source>
        <translation>Enregistrer et générer le VMR courant dans un autre répertoire</translation>
    </message>
    <message>
        <source>Save &amp;&amp; &amp;Generate VMR In...</source>
        <translation>Enregistrer &amp;&amp; générer le VMR &amp;dans...</translation>
    </message>
    <message>
        <source>Export to text file</source>
        <translation>Exporter vers un fichier texte</translation>
    </message>
    <message>
        <source>&amp;Export to text file...</source>
        <translation>E&amp;xporter vers un fichier texte...</translation>
    </message>
    <message>
        <source>Exit </source>
        <translation>Quitter </translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Undo previous command</source>
        <translation>Annuler la dernière commande</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>Redo previous undo command</source>
        <translation>Rétablir la dernière commande annulée</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>Cut the selected text and put it in the clipboard</source>
        <translation>Couper le texte sélectionné et le placer dans le presse-papiers</translation>
    </message>
    <message>
        <source>&amp;Cut</source>
        <translation>Co&amp;uper</translation>
    </message>
    <message>
        <source>Copy the selected text and put it in the clipboard</source>
        <translation>Copier le texte sélectionné et le placer dans le presse-papiers</translation>
    </message>
    <message>
        <source>C&amp;opy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>Insert clipboard contents</source>
        <translation>Insérer le contenu du presse-papiers</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>Co&amp;ller</translation>
    </message>
    <message>
        <source>Delete the current selection</source>
        <translation>Supprimer la sélection courante</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>Click this button to search for the text entered in the box next to this button.&lt;br&gt;&lt;br&gt;You can also select the &lt;b&gt;Find&lt;/b&gt; command from the Edit menu.</source>
        <translation>Cliquez sur ce bouton pour rechercher le texte saisi dans la zone située à côté.&lt;br&gt;&lt;br&gt;Vous pouvez aussi choisir la commande &lt;b&gt;Rechercher&lt;/b&gt; du menu Édition.</translation>
    </message>
    <message>
        <source>&amp;Find Next in doc</source>
        <translation>Rec&amp;hercher le suivant dans la doc</translation>
    </message>
    <message>
        <source>Click this button to set preferences</source>
        <translation>Cliquez sur ce bouton pour régler les préférences</translation>
    </message>
    <message>
        <source>Select the entire contents of the current file</source>
        <translation>Sélectionner tout le contenu du fichier courant</translation>
    </message>
    <message>
        <source>Se&amp;lect All</source>
        <translation>&amp;Tout sélectionner</translation>
    </message>
    <message>
        <source>Open online documentation</source>
        <translation>Ouvrir la documentation en ligne</translation>
    </message>
    <message>
        <source>&amp;Velmor Guide</source>
        <translation>&amp;Guide Velmor</translation>
    </message>
    <message>
        <source>Product Home Page</source>
        <translation>Page d&apos;accueil du produit</translation>
    </message>
    <message>
        <source>Velmors</source>
        <translation>Velmors</translation>
    </message>
    <message>
        <source>Technical Support</source>
        <translation>Support technique</translation>
    </message>
    <message>
        <source>Quintar Software Home Page</source>
        <translation>Page d&apos;accueil de Quintar Software</translation>
    </message>
    <message>
        <source>Show product information, version number and copyright</source>
        <translation>Afficher les informations sur le produit, le numéro de version et le copyright</translation>
    </message>
    <message>
        <source>&amp;About </source>
        <translation>À &amp;propos de </translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Outils</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source> on the Web</source>
        <translation> sur le Web</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Prêt</translation>
    </message>
    <message>
        <source>Read only</source>
        <translation>Lecture seule</translation>
    </message>
    <message>
        <source>Save changes to </source>
        <translation>Enregistrer les modifications de </translation>
    </message>
    <message>
        <source>Impossible to find the directory doc in the install directory.</source>
        <translation>Impossible de trouver le répertoire doc dans le répertoire d&apos;installation.</translation>
    </message>
    <message>
        <source>Impossible to find the file orbk_web.properties in the install directory.</source>
        <translation>Impossible de trouver le fichier orbk_web.properties dans le répertoire d&apos;installation.</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>A script is still running; wait until it has finished before starting another.</source>
        <translation>Un script est encore en cours d&apos;exécution&#xa0;; attendez qu&apos;il soit terminé avant d&apos;en lancer un autre.</translation>
    </message>
    <message>
        <source>Generate VMR In</source>
        <translation>Générer le VMR dans</translation>
    </message>
    <message>
        <source>Export xvm In</source>
        <translation>Exporter le xvm dans</translation>
    </message>
    <message>
        <source>ERROR: cannot generate all the Velmor files.</source>
        <translation>ERREUR&#xa0;: impossible de générer tous les fichiers Velmor.</translation>
    </message>
    <message>
        <source>ERROR: cannot export this Velmor (xvm) file.</source>
        <translation>ERREUR&#xa0;: impossible d&apos;exporter ce fichier Velmor (xvm).</translation>
    </message>
    <message>
        <source>Generate VMR...</source>
        <translation>Génération du VMR...</translation>
    </message>
    <message>
        <source>VMR Files saved.</source>
        <translation>Fichiers VMR enregistrés.</translation>
    </message>
    <message>
        <source>ERROR during saving file.</source>
        <translation>ERREUR lors de l&apos;enregistrement du fichier.</translation>
    </message>
    <message>
        <source>xvm file exported.</source>
        <translation>Fichier xvm exporté.</translation>
    </message>
    <message>
        <source>ERROR during export file.</source>
        <translation>ERREUR lors de l&apos;exportation du fichier.</translation>
    </message>
    <message>
        <source>%1 is still running. The window closes when it has finished.</source>
        <translation>%1 est encore en cours d&apos;exécution. La fenêtre se fermera quand il aura terminé.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Stopping %1...</source>
        <translation>Arrêt de %1...</translation>
    </message>
    <message>
        <source>%1 was stopped.</source>
        <translation>%1 a été arrêté.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>&amp;Configure Velmor Editor...</source>
        <translation>&amp;Configurer l&apos;Éditeur Velmor...</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Configuration</translation>
    </message>
    <message>
        <source>Find in Port</source>
        <translation>Rechercher dans le port</translation>
    </message>
    <message>
        <source>Problems</source>
        <translation>Problèmes</translation>
    </message>
    <message>
        <source>F&amp;ind in Port...</source>
        <translation>Rechercher dans le &amp;port...</translation>
    </message>
    <message>
        <source>Find a text in every node, setting, field and text of the port</source>
        <translation>Rechercher un texte dans chaque nœud, réglage, champ et texte du port</translation>
    </message>
    <message>
        <source>Find Pre&amp;vious in Port</source>
        <translation>Rechercher le précé&amp;dent dans le port</translation>
    </message>
    <message>
        <source>Pro&amp;blems</source>
        <translation>Pro&amp;blèmes</translation>
    </message>
    <message>
        <source>ERROR: the port has errors and is not generated.</source>
        <translation>ERREUR&#xa0;: le port contient des erreurs et n&apos;est pas généré.</translation>
    </message>
    <message>
        <source>The port is not generated.</source>
        <translation>Le port n&apos;est pas généré.</translation>
    </message>
    <message>
        <source>%1 error(s), %2 warning(s)</source>
        <translation>%1 erreur(s), %2 avertissement(s)</translation>
    </message>
    <message>
        <source>The port is not generated: it has %1 error(s), listed in the Problems pane.</source>
        <translation>Le port n&apos;est pas généré&#xa0;: il contient %1 erreur(s), indiquée(s) dans le volet Problèmes.</translation>
    </message>
    <message>
        <source>The port has %1 warning(s), listed in the Problems pane.
Generate it anyway?</source>
        <translation>Le port a %1 avertissement(s), indiqué(s) dans le volet Problèmes.
Le générer quand même&#xa0;?</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>Ouvrir un document &amp;récent</translation>
    </message>
    <message>
        <source>No documents yet</source>
        <translation>Aucun document pour l&apos;instant</translation>
    </message>
    <message>
        <source>&amp;Clear List</source>
        <translation>&amp;Effacer la liste</translation>
    </message>
</context>
<context>
    <name>QANewVmrDlg</name>
    <message>
        <source>Velmor Language Selection</source>
        <translation>Choix du langage du Velmor</translation>
    </message>
    <message>
        <source>Select the language of your new Velmor:</source>
        <translation>Choisissez le langage de votre nouveau Velmor&#xa0;:</translation>
    </message>
    <message>
        <source>C/C++</source>
        <translation>C/C++</translation>
    </message>
    <message>
        <source>Ada/Ada83</source>
        <translation>Ada/Ada83</translation>
    </message>
    <message>
        <source>J2SE</source>
        <translation>J2SE</translation>
    </message>
    <message>
        <source>J2ME</source>
        <translation>J2ME</translation>
    </message>
    <message>
        <source>Open</source>
        <comment>open window</comment>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Cancel</source>
        <comment>open window</comment>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>QAOptionnalMacro</name>
    <message>
        <source>USR_CT_FLOAT_EPSILON</source>
        <translation>USR_CT_FLOAT_EPSILON</translation>
    </message>
    <message>
        <source>USR_DATA_SECTION</source>
        <translation>USR_DATA_SECTION</translation>
    </message>
    <message>
        <source>USR_DYNTRACK_HOST</source>
        <translation>USR_DYNTRACK_HOST</translation>
    </message>
    <message>
        <source>USR_FLOAT_FORMAT</source>
        <translation>USR_FLOAT_FORMAT</translation>
    </message>
    <message>
        <source>USR_INIT_PRIORITY</source>
        <translation>USR_INIT_PRIORITY</translation>
    </message>
    <message>
        <source>USR_IO_BUFFER_SIZE</source>
        <translation>USR_IO_BUFFER_SIZE</translation>
    </message>
    <message>
        <source>USR_LINE_DIRECTIVE</source>
        <translation>USR_LINE_DIRECTIVE</translation>
    </message>
    <message>
        <source>USR_LINK_SECTION</source>
        <translation>USR_LINK_SECTION</translation>
    </message>
    <message>
        <source>USR_LONG_DOUBLE</source>
        <translation>USR_LONG_DOUBLE</translation>
    </message>
    <message>
        <source>USR_MAX_STACK</source>
        <translation>USR_MAX_STACK</translation>
    </message>
    <message>
        <source>USR_SPRINTF_FUNCTION</source>
        <translation>USR_SPRINTF_FUNCTION</translation>
    </message>
    <message>
        <source>USR_WEAK</source>
        <translation>USR_WEAK</translation>
    </message>
</context>
<context>
    <name>QAPortCheck</name>
    <message>
        <source>a %1 field in %2 has no name</source>
        <translation>un champ %1 de %2 n&apos;a pas de nom</translation>
    </message>
    <message>
        <source>the port name spans several lines</source>
        <translation>le nom du port tient sur plusieurs lignes</translation>
    </message>
    <message>
        <source>the port name &quot;%1&quot; is already used by the port in &quot;%2&quot; of the target directory</source>
        <translation>le nom de port &quot;%1&quot; est déjà utilisé par le port de &quot;%2&quot; dans le répertoire cible</translation>
    </message>
    <message>
        <source>settings table %1 has a row without a key, which the port leaves out</source>
        <translation>la table de réglages %1 a une ligne sans clé, que le port omet</translation>
    </message>
    <message>
        <source>settings table %1 has a key that contains a control character</source>
        <translation>la table de réglages %1 a une clé qui contient un caractère de contrôle</translation>
    </message>
    <message>
        <source>settings table %1 has the key &quot;%2&quot; twice</source>
        <translation>la table de réglages %1 a deux fois la clé &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1 has an empty name</source>
        <translation>%1 a un nom vide</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is an absolute path</source>
        <translation>%1 &quot;%2&quot; est un chemin absolu</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; contains a directory separator</source>
        <translation>%1 &quot;%2&quot; contient un séparateur de répertoires</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; contains &quot;..&quot;</source>
        <translation>%1 &quot;%2&quot; contient &quot;..&quot;</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not a file name</source>
        <translation>%1 &quot;%2&quot; n&apos;est pas un nom de fichier</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; contains a control character</source>
        <translation>%1 &quot;%2&quot; contient un caractère de contrôle</translation>
    </message>
    <message>
        <source>the ASCII file</source>
        <translation>le fichier ASCII</translation>
    </message>
    <message>
        <source>the binary file</source>
        <translation>le fichier binaire</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; has the name of a file that the generator writes</source>
        <translation>%1 &quot;%2&quot; porte le nom d&apos;un fichier que le générateur écrit</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; would be written twice</source>
        <translation>le fichier &quot;%1&quot; serait écrit deux fois</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; is an .ini file with a NAME= line, which the editor would take for a second port</source>
        <translation>le fichier &quot;%1&quot; est un fichier .ini avec une ligne NAME=, que l&apos;éditeur prendrait pour un second port</translation>
    </message>
    <message>
        <source>the binary file &quot;%1&quot; holds no encoded data</source>
        <translation>le fichier binaire &quot;%1&quot; ne contient aucune donnée encodée</translation>
    </message>
    <message>
        <source>the binary file &quot;%1&quot; uses the unknown encoding %2</source>
        <translation>le fichier binaire &quot;%1&quot; utilise l&apos;encodage inconnu %2</translation>
    </message>
    <message>
        <source>the binary file &quot;%1&quot; is damaged: invalid base64 in its part %2</source>
        <translation>le fichier binaire &quot;%1&quot; est endommagé&#xa0;: base64 non valide dans sa partie %2</translation>
    </message>
    <message>
        <source>the binary file &quot;%1&quot; is damaged: %2 bytes instead of %3</source>
        <translation>le fichier binaire &quot;%1&quot; est endommagé&#xa0;: %2 octets au lieu de %3</translation>
    </message>
    <message>
        <source>the binary file &quot;%1&quot; is damaged: its digest does not match</source>
        <translation>le fichier binaire &quot;%1&quot; est endommagé&#xa0;: son empreinte ne correspond pas</translation>
    </message>
    <message>
        <source>the character %1 cannot be written into an XML file</source>
        <translation>le caractère %1 ne peut pas être écrit dans un fichier XML</translation>
    </message>
</context>
<context>
    <name>QAPortDocument</name>
    <message>
        <source>It is a directory.</source>
        <translation>C&apos;est un répertoire.</translation>
    </message>
    <message>
        <source>It is not a regular file.</source>
        <translation>Ce n&apos;est pas un fichier ordinaire.</translation>
    </message>
    <message>
        <source>Velmor files ( *.xvm)</source>
        <translation>Fichiers Velmor ( *.xvm)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>ERROR: cannot load the file.</source>
        <translation>ERREUR&#xa0;: impossible de charger le fichier.</translation>
    </message>
    <message>
        <source>

This cannot be opened as a .xvm file. </source>
        <translation>

Ceci ne peut pas être ouvert comme fichier .xvm. </translation>
    </message>
    <message>
        <source>

You don&apos;t have the access right to read this .xvm file.</source>
        <translation>

Vous n&apos;avez pas le droit de lire ce fichier .xvm.</translation>
    </message>
    <message>
        <source>Loading file...</source>
        <translation>Chargement du fichier...</translation>
    </message>
    <message>
        <source>Unknown version for VMR file, can&apos;t edit</source>
        <translation>Version de fichier VMR inconnue, modification impossible</translation>
    </message>
    <message>
        <source>VMR file is newer than editor, please update your editor</source>
        <translation>Le fichier VMR est plus récent que l&apos;éditeur, veuillez mettre à jour votre éditeur</translation>
    </message>
    <message>
        <source>Error updating VMR file, cancel load</source>
        <translation>Erreur lors de la mise à jour du fichier VMR, chargement annulé</translation>
    </message>
    <message>
        <source>This xvm file does not correspond to the current version. It requires an update to be edited.</source>
        <translation>Ce fichier xvm ne correspond pas à la version courante. Il doit être mis à jour pour pouvoir être modifié.</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Mettre à jour</translation>
    </message>
    <message>
        <source>Don&apos;t edit</source>
        <translation>Ne pas modifier</translation>
    </message>
    <message>
        <source>File loaded.</source>
        <translation>Fichier chargé.</translation>
    </message>
    <message>
        <source>Save xvm As</source>
        <translation>Enregistrer xvm sous</translation>
    </message>
    <message>
        <source>The name of a .xvm file cannot contain one of the following characters:</source>
        <translation>Le nom d&apos;un fichier .xvm ne peut contenir aucun des caractères suivants&#xa0;:</translation>
    </message>
    <message>
        <source>The file %1 already exists.
 Do you want to replace it?</source>
        <translation>Le fichier %1 existe déjà.
 Voulez-vous le remplacer&#xa0;?</translation>
    </message>
    <message>
        <source>cannot be overwritten.
 Please select another file.</source>
        <translation> ne peut pas être remplacé.
 Veuillez choisir un autre fichier.</translation>
    </message>
    <message>
        <source>

The .xvm file cannot be saved there. </source>
        <translation>

Le fichier .xvm ne peut pas être enregistré à cet endroit. </translation>
    </message>
    <message>
        <source>

You cannot save this .xvm file because the file is in read only mode.</source>
        <translation>

Vous ne pouvez pas enregistrer ce fichier .xvm car il est en lecture seule.</translation>
    </message>
    <message>
        <source>Saving file...</source>
        <translation>Enregistrement du fichier...</translation>
    </message>
    <message>
        <source>
already exists in your &quot;targets/&quot; directory.
 Do you want to save anyway?</source>
        <translation>
existe déjà dans votre répertoire &quot;targets/&quot;.
 Voulez-vous quand même enregistrer&#xa0;?</translation>
    </message>
    <message>
        <source>xvm file not saved.</source>
        <translation>Fichier xvm non enregistré.</translation>
    </message>
    <message>
        <source>ERROR: cannot save the file.</source>
        <translation>ERREUR&#xa0;: impossible d&apos;enregistrer le fichier.</translation>
    </message>
    <message>
        <source>xvm file saved.</source>
        <translation>Fichier xvm enregistré.</translation>
    </message>
    <message>
        <source>The unsaved changes kept for %1 cannot be read: the file that holds them is damaged or incomplete.

It is set aside as %2; the document opens as saved.</source>
        <translation>Les modifications non enregistrées conservées pour %1 ne peuvent pas être lues : le fichier qui les contient est endommagé ou incomplet.

Il est mis de côté sous le nom %2 ; le document s&apos;ouvre tel qu&apos;il a été enregistré.</translation>
    </message>
    <message>
        <source>%1 has unsaved changes from %2, kept when the editor stopped without saving them.

Recover them, or discard them?</source>
        <translation>%1 a des modifications non enregistrées du %2, conservées quand l&apos;éditeur s&apos;est arrêté sans les enregistrer.

Les récupérer, ou les abandonner ?</translation>
    </message>
    <message>
        <source>&amp;Recover</source>
        <translation>&amp;Récupérer</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Abandonner</translation>
    </message>
    <message>
        <source>The unsaved changes cannot be recovered: %1</source>
        <translation>Les modifications non enregistrées ne peuvent pas être récupérées : %1</translation>
    </message>
    <message>
        <source>It is not a port description: its root element is not VMR.</source>
        <translation>Ce n&apos;est pas une description de portage : son élément racine n&apos;est pas VMR.</translation>
    </message>
    <message>
        <source>Unsaved changes recovered.</source>
        <translation>Modifications non enregistrées récupérées.</translation>
    </message>
    <message>
        <source>A new port, %1, has unsaved changes from %2, kept when the editor stopped before it was ever saved.

Recover them, or discard them?</source>
        <translation>Un nouveau portage, %1, a des modifications non enregistrées du %2, conservées quand l&apos;éditeur s&apos;est arrêté avant qu&apos;il ait jamais été enregistré.

Les récupérer, ou les abandonner ?</translation>
    </message>
</context>
<context>
    <name>QAProblemsPane</name>
    <message>
        <source>Problem</source>
        <translation>Problème</translation>
    </message>
    <message>
        <source>Node</source>
        <translation>Nœud</translation>
    </message>
    <message>
        <source>No port is open.</source>
        <translation>Aucun port n&apos;est ouvert.</translation>
    </message>
    <message>
        <source>No problems found: the port can be generated.</source>
        <translation>Aucun problème trouvé&#xa0;: le port peut être généré.</translation>
    </message>
    <message>
        <source>%1 error(s), %2 warning(s)</source>
        <translation>%1 erreur(s), %2 avertissement(s)</translation>
    </message>
</context>
<context>
    <name>QARootNode</name>
    <message>
        <source>&amp;Rename</source>
        <comment>popup menu</comment>
        <translation>&amp;Renommer</translation>
    </message>
</context>
<context>
    <name>QAScriptRunner</name>
    <message>
        <source>%1 did not finish in time and was stopped.</source>
        <translation>%1 ne s&apos;est pas terminé à temps et a été arrêté.</translation>
    </message>
    <message>
        <source>%1 crashed or was killed.</source>
        <translation>%1 s&apos;est arrêté brutalement ou a été tué.</translation>
    </message>
    <message>
        <source>%1 ended with exit status %2.</source>
        <translation>%1 s&apos;est terminé avec le code de sortie %2.</translation>
    </message>
</context>
<context>
    <name>QATextMacro</name>
    <message>
        <source>Float_32</source>
        <translation>Float_32</translation>
    </message>
    <message>
        <source>Float_64</source>
        <translation>Float_64</translation>
    </message>
    <message>
        <source>Integer_16</source>
        <translation>Integer_16</translation>
    </message>
    <message>
        <source>Integer_32</source>
        <translation>Integer_32</translation>
    </message>
    <message>
        <source>Integer_64</source>
        <translation>Integer_64</translation>
    </message>
    <message>
        <source>Integer_8</source>
        <translation>Integer_8</translation>
    </message>
    <message>
        <source>JVMPI_RESULTS_FILE</source>
        <translation>JVMPI_RESULTS_FILE</translation>
    </message>
    <message>
        <source>JVMPI_SOCKET_HOST</source>
        <translation>JVMPI_SOCKET_HOST</translation>
    </message>
    <message>
        <source>JVMPI_SOCKET_PORT</source>
        <translation>JVMPI_SOCKET_PORT</translation>
    </message>
    <message>
        <source>Max_Call_Depth</source>
        <translation>Max_Call_Depth</translation>
    </message>
    <message>
        <source>Max_Line_Length</source>
        <translation>Max_Line_Length</translation>
    </message>
    <message>
        <source>Max_String_Image</source>
        <translation>Max_String_Image</translation>
    </message>
    <message>
        <source>Max_Stub_Calls</source>
        <translation>Max_Stub_Calls</translation>
    </message>
    <message>
        <source>Pool_Size</source>
        <translation>Pool_Size</translation>
    </message>
    <message>
        <source>Port_Name</source>
        <translation>Port_Name</translation>
    </message>
    <message>
        <source>Results_Buffer_Size</source>
        <translation>Results_Buffer_Size</translation>
    </message>
    <message>
        <source>Results_File_Name</source>
        <translation>Results_File_Name</translation>
    </message>
    <message>
        <source>Results_Form</source>
        <translation>Results_Form</translation>
    </message>
    <message>
        <source>Success_Status</source>
        <translation>Success_Status</translation>
    </message>
    <message>
        <source>USR_ADA_CONVENTION</source>
        <translation>USR_ADA_CONVENTION</translation>
    </message>
    <message>
        <source>USR_APPLICATION_NAME</source>
        <translation>USR_APPLICATION_NAME</translation>
    </message>
    <message>
        <source>USR_BOOL</source>
        <translation>USR_BOOL</translation>
    </message>
    <message>
        <source>USR_CLOCK_TYPE</source>
        <translation>USR_CLOCK_TYPE</translation>
    </message>
    <message>
        <source>USR_CLOCK_UNIT</source>
        <translation>USR_CLOCK_UNIT</translation>
    </message>
    <message>
        <source>USR_CPP_STANDARD</source>
        <translation>USR_CPP_STANDARD</translation>
    </message>
    <message>
        <source>USR_CT_MAX_STUB_CALLS</source>
        <translation>USR_CT_MAX_STUB_CALLS</translation>
    </message>
    <message>
        <source>USR_DOUBLE_DIGITS</source>
        <translation>USR_DOUBLE_DIGITS</translation>
    </message>
    <message>
        <source>USR_DYNTRACK_PORT</source>
        <translation>USR_DYNTRACK_PORT</translation>
    </message>
    <message>
        <source>USR_EXTERN</source>
        <translation>USR_EXTERN</translation>
    </message>
    <message>
        <source>USR_FILTER_FILES</source>
        <translation>USR_FILTER_FILES</translation>
    </message>
    <message>
        <source>USR_FLOAT_DIGITS</source>
        <translation>USR_FLOAT_DIGITS</translation>
    </message>
    <message>
        <source>USR_HEAP_POOL_SIZE</source>
        <translation>USR_HEAP_POOL_SIZE</translation>
    </message>
    <message>
        <source>USR_HOSTNAME</source>
        <translation>USR_HOSTNAME</translation>
    </message>
    <message>
        <source>USR_INT16</source>
        <translation>USR_INT16</translation>
    </message>
    <message>
        <source>USR_INT32</source>
        <translation>USR_INT32</translation>
    </message>
    <message>
        <source>USR_INT64</source>
        <translation>USR_INT64</translation>
    </message>
    <message>
        <source>USR_INT8</source>
        <translation>USR_INT8</translation>
    </message>
    <message>
        <source>USR_MAIN_RETURN_TYPE</source>
        <translation>USR_MAIN_RETURN_TYPE</translation>
    </message>
    <message>
        <source>USR_MAIN_SUCCESS</source>
        <translation>USR_MAIN_SUCCESS</translation>
    </message>
    <message>
        <source>USR_MAX_CALL_DEPTH</source>
        <translation>USR_MAX_CALL_DEPTH</translation>
    </message>
    <message>
        <source>USR_MAX_OPEN_FILES</source>
        <translation>USR_MAX_OPEN_FILES</translation>
    </message>
    <message>
        <source>USR_MAX_STRING_LENGTH</source>
        <translation>USR_MAX_STRING_LENGTH</translation>
    </message>
    <message>
        <source>USR_MAX_TEST_CASES</source>
        <translation>USR_MAX_TEST_CASES</translation>
    </message>
    <message>
        <source>USR_MAX_THREADS</source>
        <translation>USR_MAX_THREADS</translation>
    </message>
    <message>
        <source>USR_OBS_BUFFER_SIZE</source>
        <translation>USR_OBS_BUFFER_SIZE</translation>
    </message>
    <message>
        <source>USR_PID</source>
        <translation>USR_PID</translation>
    </message>
    <message>
        <source>USR_POINTER_SIZE</source>
        <translation>USR_POINTER_SIZE</translation>
    </message>
    <message>
        <source>USR_PREPROCESSED_EXT</source>
        <translation>USR_PREPROCESSED_EXT</translation>
    </message>
    <message>
        <source>USR_PTRDIFF_T</source>
        <translation>USR_PTRDIFF_T</translation>
    </message>
    <message>
        <source>USR_RDV_HOST</source>
        <translation>USR_RDV_HOST</translation>
    </message>
    <message>
        <source>USR_RDV_PORT</source>
        <translation>USR_RDV_PORT</translation>
    </message>
    <message>
        <source>USR_RESULTS_BUFFER</source>
        <translation>USR_RESULTS_BUFFER</translation>
    </message>
    <message>
        <source>USR_RESULTS_FILE</source>
        <translation>USR_RESULTS_FILE</translation>
    </message>
    <message>
        <source>USR_SIZE_T</source>
        <translation>USR_SIZE_T</translation>
    </message>
    <message>
        <source>USR_SPRINTF_BUFFER</source>
        <translation>USR_SPRINTF_BUFFER</translation>
    </message>
    <message>
        <source>USR_UINT16</source>
        <translation>USR_UINT16</translation>
    </message>
    <message>
        <source>USR_UINT32</source>
        <translation>USR_UINT32</translation>
    </message>
    <message>
        <source>USR_UINT64</source>
        <translation>USR_UINT64</translation>
    </message>
    <message>
        <source>USR_UINT8</source>
        <translation>USR_UINT8</translation>
    </message>
    <message>
        <source>USR_WRITELN_MAX</source>
        <translation>USR_WRITELN_MAX</translation>
    </message>
    <message>
        <source>Unsigned_32</source>
        <translation>Unsigned_32</translation>
    </message>
    <message>
        <source>Usr_Index</source>
        <translation>Usr_Index</translation>
    </message>
    <message>
        <source>Usr_Time</source>
        <translation>Usr_Time</translation>
    </message>
    <message>
        <source>VMR_RECORD_STORE</source>
        <translation>VMR_RECORD_STORE</translation>
    </message>
    <message>
        <source>VMR_RESULTS_FILE</source>
        <translation>VMR_RESULTS_FILE</translation>
    </message>
    <message>
        <source>VMR_SOCKET_HOST</source>
        <translation>VMR_SOCKET_HOST</translation>
    </message>
    <message>
        <source>VMR_SOCKET_PORT</source>
        <translation>VMR_SOCKET_PORT</translation>
    </message>
</context>
<context>
    <name>QAUserLibrary</name>
    <message>
        <source>Cannot create the directory %1.</source>
        <translation>Impossible de créer le répertoire %1.</translation>
    </message>
    <message>
        <source>Cannot copy %1 to %2: %3</source>
        <translation>Impossible de copier %1 vers %2&#xa0;: %3</translation>
    </message>
    <message>
        <source>The installation has no directory %1.</source>
        <translation>L&apos;installation ne contient pas de répertoire %1.</translation>
    </message>
</context>
<context>
    <name>QAVMRVersion</name>
    <message>
        <source>Unable to run command</source>
        <translation>Impossible d&apos;exécuter la commande</translation>
    </message>
    <message>
        <source>Get Version List failed :
 </source>
        <translation>Échec de la lecture de la liste des versions&#xa0;:
 </translation>
    </message>
    <message>
        <source>Editor XVM version not supported by script</source>
        <translation>Version XVM de l&apos;éditeur non prise en charge par le script</translation>
    </message>
    <message>
        <source>Update failed : </source>
        <translation>Échec de la mise à jour&#xa0;: </translation>
    </message>
</context>
<context>
    <name>QAVmrAboutDialog</name>
    <message>
        <source>About </source>
        <translation>À propos de </translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>QAVmrDocBrowser</name>
    <message>
        <source>Find next occurence</source>
        <translation>Rechercher l&apos;occurrence suivante</translation>
    </message>
    <message>
        <source>Search hit bottom, continuing at top</source>
        <translation>Fin du document atteinte, reprise au début</translation>
    </message>
    <message>
        <source>No match for &quot;%1&quot; in the reference page</source>
        <translation>Aucune occurrence de &quot;%1&quot; dans la page de référence</translation>
    </message>
</context>
<context>
    <name>QAVmrDocumentEdits</name>
    <message>
        <source>Edit %1</source>
        <translation>Modifier %1</translation>
    </message>
    <message>
        <source>the comment of %1</source>
        <translation>le commentaire de %1</translation>
    </message>
    <message>
        <source>Rename %1</source>
        <translation>Renommer %1</translation>
    </message>
    <message>
        <source>Choose %1</source>
        <translation>Choisir %1</translation>
    </message>
    <message>
        <source>Change %1</source>
        <translation>Changer %1</translation>
    </message>
    <message>
        <source>Add %1</source>
        <translation>Ajouter %1</translation>
    </message>
    <message>
        <source>Delete %1</source>
        <translation>Supprimer %1</translation>
    </message>
    <message>
        <source>Move %1</source>
        <translation>Déplacer %1</translation>
    </message>
</context>
<context>
    <name>QAVmrEditor</name>
    <message>
        <source>Names</source>
        <translation>Noms</translation>
    </message>
    <message>
        <source>Generate in:</source>
        <translation>Générer dans&#xa0;:</translation>
    </message>
    <message>
        <source>Filter nodes by name</source>
        <translation>Filtrer les nœuds par nom</translation>
    </message>
</context>
<context>
    <name>QAVmrEditorTree</name>
    <message>
        <source>A binary file is still being added; please wait until it is done.</source>
        <translation>Un fichier binaire est encore en cours d&apos;ajout&#xa0;; veuillez attendre la fin de l&apos;opération.</translation>
    </message>
    <message>
        <source>Add a Binary File</source>
        <translation>Ajouter un fichier binaire</translation>
    </message>
    <message>
        <source>Binary files (*)</source>
        <comment>open binary file filter</comment>
        <translation>Fichiers binaires (*)</translation>
    </message>
    <message>
        <source>Adding binary file...</source>
        <translation>Ajout du fichier binaire...</translation>
    </message>
    <message>
        <source>Please, wait while adding the binary file...</source>
        <translation>Veuillez patienter pendant l&apos;ajout du fichier binaire...</translation>
    </message>
    <message>
        <source>
Unable to run command</source>
        <translation>
Impossible d&apos;exécuter la commande</translation>
    </message>
    <message>
        <source>ERROR: adding binary file aborted.</source>
        <translation>ERREUR&#xa0;: ajout du fichier binaire abandonné.</translation>
    </message>
    <message>
        <source>ERROR during adding binary file.</source>
        <translation>ERREUR lors de l&apos;ajout du fichier binaire.</translation>
    </message>
    <message>
        <source>Binary file added.</source>
        <translation>Fichier binaire ajouté.</translation>
    </message>
    <message>
        <source>Critical Error</source>
        <translation>Erreur critique</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Impossible d&apos;ouvrir le fichier %1</translation>
    </message>
    <message>
        <source>Parsing error for file %1</source>
        <translation>Erreur d&apos;analyse du fichier %1</translation>
    </message>
    <message>
        <source>The file keeps its name: %1.</source>
        <translation>Le fichier garde son nom&#xa0;: %1.</translation>
    </message>
</context>
<context>
    <name>QAVmrErrorDialog</name>
    <message>
        <source>Error </source>
        <translation>Erreur </translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>QAVmrTextEdit</name>
    <message>
        <source>Find...</source>
        <translation>Rechercher...</translation>
    </message>
    <message>
        <source>Find next occurence</source>
        <translation>Rechercher l&apos;occurrence suivante</translation>
    </message>
    <message>
        <source>go to</source>
        <translation>Aller à la ligne</translation>
    </message>
    <message>
        <source>Goto line</source>
        <translation>Aller à la ligne</translation>
    </message>
    <message>
        <source>Please enter the line number</source>
        <translation>Veuillez saisir le numéro de ligne</translation>
    </message>
</context>
<context>
    <name>QAVmrWaitDlg</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
</context>
<context>
    <name>QAXmlCharacters</name>
    <message>
        <source>Left out characters that a port description cannot hold: %1.</source>
        <translation>Caractères omis, qu&apos;une description de portage ne peut pas contenir&#xa0;: %1.</translation>
    </message>
</context>
<context>
    <name>QAXmlEditor</name>
    <message>
        <source>%1 (line %2, column %3)</source>
        <translation>%1 (ligne %2, colonne %3)</translation>
    </message>
    <message>
        <source>the document refers to an entity that it does not declare</source>
        <translation>le document fait référence à une entité qu&apos;il ne déclare pas</translation>
    </message>
    <message>
        <source>the document declares entities, which this editor does not accept</source>
        <translation>le document déclare des entités, ce que cet éditeur n&apos;accepte pas</translation>
    </message>
    <message>
        <source>the document is nested deeper than %1 levels (line %2)</source>
        <translation>le document est imbriqué sur plus de %1 niveaux (ligne %2)</translation>
    </message>
    <message>
        <source>the document has a document type declaration inside its content (line %1)</source>
        <translation>le document contient une déclaration de type de document dans son contenu (ligne %1)</translation>
    </message>
    <message>
        <source>the document has a name with a control character in it (line %1)</source>
        <translation>le document contient un nom avec un caractère de contrôle (ligne %1)</translation>
    </message>
    <message>
        <source>the document holds the character U+%1, which an XML file cannot hold (line %2)</source>
        <translation>le document contient le caractère U+%1, qu&apos;un fichier XML ne peut pas contenir (ligne %2)</translation>
    </message>
</context>
<context>
    <name>QAXmlWriter</name>
    <message>
        <source>The entity reference %1 in %2 cannot be written: the file would not open again.</source>
        <translation>La référence d&apos;entité %1 dans %2 ne peut pas être écrite&#xa0;: le fichier ne s&apos;ouvrirait plus.</translation>
    </message>
    <message>
        <source>the text of %1</source>
        <translation>le texte de %1</translation>
    </message>
    <message>
        <source>the attribute %1 of %2</source>
        <translation>l&apos;attribut %1 de %2</translation>
    </message>
    <message>
        <source>an attribute name of %1</source>
        <translation>un nom d&apos;attribut de %1</translation>
    </message>
    <message>
        <source>the name of %1</source>
        <translation>le nom de %1</translation>
    </message>
    <message>
        <source>a comment in %1</source>
        <translation>un commentaire de %1</translation>
    </message>
    <message>
        <source>a processing instruction in %1</source>
        <translation>une instruction de traitement de %1</translation>
    </message>
    <message>
        <source>The character U+%1 in %2 cannot be written into an XML file. Remove it and save again.</source>
        <translation>Le caractère U+%1 dans %2 ne peut pas être écrit dans un fichier XML. Supprimez-le et enregistrez à nouveau.</translation>
    </message>
</context>
<context>
    <name>QAvmrFindDialog</name>
    <message>
        <source>Find</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Find:</source>
        <translation>Rechercher&#xa0;:</translation>
    </message>
    <message>
        <source>Search Options</source>
        <translation>Options de recherche</translation>
    </message>
    <message>
        <source>&amp;Case Sensitive</source>
        <translation>Respecter la &amp;casse</translation>
    </message>
    <message>
        <source>&amp;Wildcard</source>
        <translation>Caractères &amp;génériques</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>QAvmrPrefDialog</name>
    <message>
        <source>Preferences</source>
        <translation>Préférences</translation>
    </message>
    <message>
        <source>Help url to __ORBISK_PRODUCT_NAME__ info center:</source>
        <translation>URL de l&apos;aide du centre d&apos;information __ORBISK_PRODUCT_NAME__&#xa0;:</translation>
    </message>
    <message>
        <source>Help Browser:</source>
        <translation>Navigateur d&apos;aide&#xa0;:</translation>
    </message>
    <message>
        <source>Start local server</source>
        <translation>Démarrer le serveur local</translation>
    </message>
    <message>
        <source>Class path for the Help plugin for the local server:</source>
        <translation>Chemin des classes du module d&apos;aide pour le serveur local&#xa0;:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>XVM Labels</name>
    <message>
        <source>Ada 83 settings</source>
        <translation>Paramètres Ada 83</translation>
    </message>
    <message>
        <source>Ada settings</source>
        <translation>Paramètres Ada</translation>
    </message>
    <message>
        <source>Additions to the I/O body</source>
        <translation>Ajouts au corps des E/S</translation>
    </message>
    <message>
        <source>Additions to the I/O specification</source>
        <translation>Ajouts à la spécification des E/S</translation>
    </message>
    <message>
        <source>After agent code</source>
        <translation>Après le code de l&apos;agent</translation>
    </message>
    <message>
        <source>After runtime library</source>
        <translation>Après la bibliothèque d&apos;exécution</translation>
    </message>
    <message>
        <source>Agent build</source>
        <translation>Construction de l&apos;agent</translation>
    </message>
    <message>
        <source>Agent clock</source>
        <translation>Horloge de l&apos;agent</translation>
    </message>
    <message>
        <source>Agent entry point</source>
        <translation>Point d&apos;entrée de l&apos;agent</translation>
    </message>
    <message>
        <source>Agent errors</source>
        <translation>Erreurs de l&apos;agent</translation>
    </message>
    <message>
        <source>Agent output</source>
        <translation>Sortie de l&apos;agent</translation>
    </message>
    <message>
        <source>Agent socket</source>
        <translation>Socket de l&apos;agent</translation>
    </message>
    <message>
        <source>Agent strings</source>
        <translation>Chaînes de l&apos;agent</translation>
    </message>
    <message>
        <source>Allocate</source>
        <translation>Allocation</translation>
    </message>
    <message>
        <source>Allocation</source>
        <translation>Allocation</translation>
    </message>
    <message>
        <source>Allocation handler</source>
        <translation>Gestionnaire d&apos;allocation</translation>
    </message>
    <message>
        <source>Application macros</source>
        <translation>Macros de l&apos;application</translation>
    </message>
    <message>
        <source>Application specifics</source>
        <translation>Spécificités de l&apos;application</translation>
    </message>
    <message>
        <source>Assembler</source>
        <translation>Assembleur</translation>
    </message>
    <message>
        <source>Assembler file extension</source>
        <translation>Extension des fichiers assembleur</translation>
    </message>
    <message>
        <source>At exit</source>
        <translation>À la sortie</translation>
    </message>
    <message>
        <source>Before agent code</source>
        <translation>Avant le code de l&apos;agent</translation>
    </message>
    <message>
        <source>Before instrumented code</source>
        <translation>Avant le code instrumenté</translation>
    </message>
    <message>
        <source>Before instrumented code and runtime library</source>
        <translation>Avant le code instrumenté et la bibliothèque d&apos;exécution</translation>
    </message>
    <message>
        <source>Before runtime library</source>
        <translation>Avant la bibliothèque d&apos;exécution</translation>
    </message>
    <message>
        <source>Build</source>
        <translation>Construction</translation>
    </message>
    <message>
        <source>C settings</source>
        <translation>Paramètres C</translation>
    </message>
    <message>
        <source>C++ settings</source>
        <translation>Paramètres C++</translation>
    </message>
    <message>
        <source>C++ specifics</source>
        <translation>Spécificités C++</translation>
    </message>
    <message>
        <source>Clock</source>
        <translation>Horloge</translation>
    </message>
    <message>
        <source>Clock function</source>
        <translation>Fonction d&apos;horloge</translation>
    </message>
    <message>
        <source>Clock method</source>
        <translation>Méthode d&apos;horloge</translation>
    </message>
    <message>
        <source>Clock type</source>
        <translation>Type d&apos;horloge</translation>
    </message>
    <message>
        <source>Clocking</source>
        <translation>Mesure du temps</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermeture</translation>
    </message>
    <message>
        <source>Common settings</source>
        <translation>Paramètres communs</translation>
    </message>
    <message>
        <source>Compilation</source>
        <translation>Compilation</translation>
    </message>
    <message>
        <source>Compiler specifics</source>
        <translation>Spécificités du compilateur</translation>
    </message>
    <message>
        <source>Component testing</source>
        <translation>Test de composants</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>Connexion</translation>
    </message>
    <message>
        <source>Constant</source>
        <translation>Constante</translation>
    </message>
    <message>
        <source>Constants</source>
        <translation>Constantes</translation>
    </message>
    <message>
        <source>Constructor</source>
        <translation>Constructeur</translation>
    </message>
    <message>
        <source>Context of the I/O body</source>
        <translation>Contexte du corps des E/S</translation>
    </message>
    <message>
        <source>Context of the I/O specification</source>
        <translation>Contexte de la spécification des E/S</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copie</translation>
    </message>
    <message>
        <source>Copy of observed data</source>
        <translation>Copie des données observées</translation>
    </message>
    <message>
        <source>Data retrieval</source>
        <translation>Récupération des données</translation>
    </message>
    <message>
        <source>Data types</source>
        <translation>Types de données</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Date function</source>
        <translation>Fonction de date</translation>
    </message>
    <message>
        <source>Declarations</source>
        <translation>Déclarations</translation>
    </message>
    <message>
        <source>Declarations of the I/O body</source>
        <translation>Déclarations du corps des E/S</translation>
    </message>
    <message>
        <source>Default compiler flags</source>
        <translation>Options de compilation par défaut</translation>
    </message>
    <message>
        <source>Default defines</source>
        <translation>Macros prédéfinies par défaut</translation>
    </message>
    <message>
        <source>Default include paths</source>
        <translation>Chemins d&apos;inclusion par défaut</translation>
    </message>
    <message>
        <source>Default libraries</source>
        <translation>Bibliothèques par défaut</translation>
    </message>
    <message>
        <source>Default library paths</source>
        <translation>Chemins des bibliothèques par défaut</translation>
    </message>
    <message>
        <source>Default linker flags</source>
        <translation>Options d&apos;édition de liens par défaut</translation>
    </message>
    <message>
        <source>Default preprocessor flags</source>
        <translation>Options du préprocesseur par défaut</translation>
    </message>
    <message>
        <source>Dynamic tracking</source>
        <translation>Suivi dynamique</translation>
    </message>
    <message>
        <source>EDG front end</source>
        <translation>Frontal EDG</translation>
    </message>
    <message>
        <source>Early initialisation</source>
        <translation>Initialisation anticipée</translation>
    </message>
    <message>
        <source>Elaboration</source>
        <translation>Élaboration</translation>
    </message>
    <message>
        <source>Entry point</source>
        <translation>Point d&apos;entrée</translation>
    </message>
    <message>
        <source>Environment</source>
        <translation>Environnement</translation>
    </message>
    <message>
        <source>Error function</source>
        <translation>Fonction d&apos;erreur</translation>
    </message>
    <message>
        <source>Error output</source>
        <translation>Sortie d&apos;erreur</translation>
    </message>
    <message>
        <source>Executable file extension</source>
        <translation>Extension des fichiers exécutables</translation>
    </message>
    <message>
        <source>Execution</source>
        <translation>Exécution</translation>
    </message>
    <message>
        <source>Execution in debugger</source>
        <translation>Exécution dans le débogueur</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Sortie</translation>
    </message>
    <message>
        <source>Exit function</source>
        <translation>Fonction de sortie</translation>
    </message>
    <message>
        <source>Exit procedure</source>
        <translation>Procédure de sortie</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Fichiers</translation>
    </message>
    <message>
        <source>Fill</source>
        <translation>Remplissage</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filtre</translation>
    </message>
    <message>
        <source>Filter function</source>
        <translation>Fonction de filtrage</translation>
    </message>
    <message>
        <source>Fixed name</source>
        <translation>Nom fixe</translation>
    </message>
    <message>
        <source>Floating point</source>
        <translation>Virgule flottante</translation>
    </message>
    <message>
        <source>Formatted output</source>
        <translation>Sortie formatée</translation>
    </message>
    <message>
        <source>Functions</source>
        <translation>Fonctions</translation>
    </message>
    <message>
        <source>Harness macros</source>
        <translation>Macros du harnais de test</translation>
    </message>
    <message>
        <source>Harness pages</source>
        <translation>Pages du harnais de test</translation>
    </message>
    <message>
        <source>Heap</source>
        <translation>Tas</translation>
    </message>
    <message>
        <source>Heap events</source>
        <translation>Événements du tas</translation>
    </message>
    <message>
        <source>Hook</source>
        <translation>Point d&apos;accroche</translation>
    </message>
    <message>
        <source>Host name</source>
        <translation>Nom d&apos;hôte</translation>
    </message>
    <message>
        <source>Host receiver</source>
        <translation>Récepteur sur l&apos;hôte</translation>
    </message>
    <message>
        <source>Identifier</source>
        <translation>Identifiant</translation>
    </message>
    <message>
        <source>Imports</source>
        <translation>Importations</translation>
    </message>
    <message>
        <source>Initialisation</source>
        <translation>Initialisation</translation>
    </message>
    <message>
        <source>Initialisation method</source>
        <translation>Méthode d&apos;initialisation</translation>
    </message>
    <message>
        <source>Initialised data</source>
        <translation>Données initialisées</translation>
    </message>
    <message>
        <source>Input/Output</source>
        <translation>Entrées/sorties</translation>
    </message>
    <message>
        <source>Java runtime</source>
        <translation>Environnement d&apos;exécution Java</translation>
    </message>
    <message>
        <source>Java settings</source>
        <translation>Paramètres Java</translation>
    </message>
    <message>
        <source>Java test parser</source>
        <translation>Analyseur des tests Java</translation>
    </message>
    <message>
        <source>Library</source>
        <translation>Bibliothèque</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Édition de liens</translation>
    </message>
    <message>
        <source>Linkage</source>
        <translation>Liaison</translation>
    </message>
    <message>
        <source>Lock</source>
        <translation>Verrouillage</translation>
    </message>
    <message>
        <source>Lookup</source>
        <translation>Recherche</translation>
    </message>
    <message>
        <source>Main function</source>
        <translation>Fonction principale</translation>
    </message>
    <message>
        <source>Main subprogram</source>
        <translation>Sous-programme principal</translation>
    </message>
    <message>
        <source>Memory copy</source>
        <translation>Copie mémoire</translation>
    </message>
    <message>
        <source>Memory functions</source>
        <translation>Fonctions mémoire</translation>
    </message>
    <message>
        <source>Memory tracking</source>
        <translation>Suivi de la mémoire</translation>
    </message>
    <message>
        <source>Non-local jumps</source>
        <translation>Sauts non locaux</translation>
    </message>
    <message>
        <source>Object file extension</source>
        <translation>Extension des fichiers objets</translation>
    </message>
    <message>
        <source>Observation buffer</source>
        <translation>Tampon d&apos;observation</translation>
    </message>
    <message>
        <source>Observations</source>
        <translation>Observations</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouverture</translation>
    </message>
    <message>
        <source>Output settings</source>
        <translation>Paramètres de sortie</translation>
    </message>
    <message>
        <source>Package Standard (Ada 83)</source>
        <translation>Paquetage Standard (Ada 83)</translation>
    </message>
    <message>
        <source>Package Standard (Ada 95)</source>
        <translation>Paquetage Standard (Ada 95)</translation>
    </message>
    <message>
        <source>Package System (Ada 83)</source>
        <translation>Paquetage System (Ada 83)</translation>
    </message>
    <message>
        <source>Package System (Ada 95)</source>
        <translation>Paquetage System (Ada 95)</translation>
    </message>
    <message>
        <source>Packaging</source>
        <translation>Empaquetage</translation>
    </message>
    <message>
        <source>Parser</source>
        <translation>Analyseur</translation>
    </message>
    <message>
        <source>Parser options</source>
        <translation>Options de l&apos;analyseur</translation>
    </message>
    <message>
        <source>Parser pre-included header</source>
        <translation>En-tête pré-inclus de l&apos;analyseur</translation>
    </message>
    <message>
        <source>Parser preprocessor options</source>
        <translation>Options du préprocesseur de l&apos;analyseur</translation>
    </message>
    <message>
        <source>Perl helper functions</source>
        <translation>Fonctions Perl auxiliaires</translation>
    </message>
    <message>
        <source>Pool</source>
        <translation>Pool mémoire</translation>
    </message>
    <message>
        <source>Pool type</source>
        <translation>Type de pool</translation>
    </message>
    <message>
        <source>Preprocessing</source>
        <translation>Prétraitement</translation>
    </message>
    <message>
        <source>Process identifier</source>
        <translation>Identifiant de processus</translation>
    </message>
    <message>
        <source>Profiling agent</source>
        <translation>Agent de profilage</translation>
    </message>
    <message>
        <source>Profiling clock</source>
        <translation>Horloge de profilage</translation>
    </message>
    <message>
        <source>Release</source>
        <translation>Libération</translation>
    </message>
    <message>
        <source>Rendezvous</source>
        <translation>Rendez-vous</translation>
    </message>
    <message>
        <source>Restrictions</source>
        <translation>Restrictions</translation>
    </message>
    <message>
        <source>Results output</source>
        <translation>Sortie des résultats</translation>
    </message>
    <message>
        <source>Runtime library</source>
        <translation>Bibliothèque d&apos;exécution</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Signals</source>
        <translation>Signaux</translation>
    </message>
    <message>
        <source>Socket</source>
        <translation>Socket</translation>
    </message>
    <message>
        <source>Source file extension</source>
        <translation>Extension des fichiers sources</translation>
    </message>
    <message>
        <source>Source parser options</source>
        <translation>Options de l&apos;analyseur de sources</translation>
    </message>
    <message>
        <source>Start-up hook</source>
        <translation>Point d&apos;accroche au démarrage</translation>
    </message>
    <message>
        <source>Strings</source>
        <translation>Chaînes</translation>
    </message>
    <message>
        <source>System testing</source>
        <translation>Test système</translation>
    </message>
    <message>
        <source>Task support</source>
        <translation>Prise en charge des tâches</translation>
    </message>
    <message>
        <source>Tasking</source>
        <translation>Tâches</translation>
    </message>
    <message>
        <source>Test clock</source>
        <translation>Horloge de test</translation>
    </message>
    <message>
        <source>Testing specifics</source>
        <translation>Spécificités du test</translation>
    </message>
    <message>
        <source>Thread identification</source>
        <translation>Identification des threads</translation>
    </message>
    <message>
        <source>Thread identifier</source>
        <translation>Identifiant de thread</translation>
    </message>
    <message>
        <source>Thread support</source>
        <translation>Prise en charge des threads</translation>
    </message>
    <message>
        <source>Threading</source>
        <translation>Gestion des threads</translation>
    </message>
    <message>
        <source>Threads</source>
        <translation>Threads</translation>
    </message>
    <message>
        <source>Trace filters</source>
        <translation>Filtres de trace</translation>
    </message>
    <message>
        <source>Trace level</source>
        <translation>Niveau de trace</translation>
    </message>
    <message>
        <source>Types</source>
        <translation>Types</translation>
    </message>
    <message>
        <source>Unlock</source>
        <translation>Déverrouillage</translation>
    </message>
    <message>
        <source>User function</source>
        <translation>Fonction utilisateur</translation>
    </message>
    <message>
        <source>Wrapped functions</source>
        <translation>Fonctions encapsulées</translation>
    </message>
    <message>
        <source>Wrapper</source>
        <translation>Fonction d&apos;encapsulation</translation>
    </message>
    <message>
        <source>Write line</source>
        <translation>Écriture d&apos;une ligne</translation>
    </message>
</context>
<context>
    <name>vmreditor</name>
    <message>
        <source> Install Library Files Error</source>
        <translation> - Erreur d&apos;installation des fichiers de bibliothèque</translation>
    </message>
</context>
</TS>
