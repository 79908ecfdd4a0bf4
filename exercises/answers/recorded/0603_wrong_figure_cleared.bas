' Question 603: the name redefined, then the figure of C6 deleted on the way.
' expect: A
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    ActiveWorkbook.Names.Add Name:="Zone", RefersToR1C1:="='Trimestre 1'!R4C3:R7C3"
    Range("C6").Select
    Selection.ClearContents
End Sub
#check
