' "07250615.xls", the working copy "Les Modèles.xls" of question 615: a
' choice question on templates. The sheet "réponses" is protected; only its
' two check boxes are unlocked, so that the trainee can tick one. The sheet
' holds exactly these three shapes and no note (notes count as shapes).
' The question's box, 400 points wide from 20, ends within the first printed
' page in LibreOffice too, whose columns come out wider than Excel's.
Workbooks.Add -4167   ' xlWBATWorksheet: a workbook of one sheet
ActiveSheet.Name = "réponses"
Range("A1").Value = "Les modèles : cochez la bonne réponse."
Range("A1").Font.Bold = True
ActiveSheet.Shapes.AddTextbox(1, 20, 40, 400, 100).Name = "Question"
ActiveSheet.Shapes("Question").TextFrame.Characters.Text = _
    "Vous voulez créer un nouveau classeur à partir du modèle Thor.xlt. Que faites-vous ?" & vbLf & vbLf & _
    "Réponse 1 : menu Fichier, Nouveau, Sur mon ordinateur, puis je choisis le modèle Thor." & vbLf & _
    "Réponse 2 : menu Fichier, Ouvrir, puis j'ouvre le fichier Thor.xlt."
ActiveSheet.Shapes.AddFormControl(1, 20, 160, 150, 18).Name = "Case à cocher 1"   ' 1: xlCheckBox
ActiveSheet.Shapes.AddFormControl(1, 20, 185, 150, 18).Name = "Case à cocher 2"
ActiveSheet.CheckBoxes("Case à cocher 1").Caption = "Réponse 1"
ActiveSheet.CheckBoxes("Case à cocher 2").Caption = "Réponse 2"
ActiveSheet.Shapes("Case à cocher 1").Locked = False
ActiveSheet.Shapes("Case à cocher 2").Locked = False
Range("A1").Select
ActiveSheet.Protect
ActiveWorkbook.SaveAs Filename:="07250615.xls"
