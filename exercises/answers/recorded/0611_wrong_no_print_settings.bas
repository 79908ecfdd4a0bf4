' Question 611: the view added with its Print settings box cleared.
' expect: D
Sub Macro1()
'
' Macro1 Macro
' Macro enregistrée le 07/12/2026 par Stagiaire
'

'
    ActiveWindow.Zoom = 110
    With ActiveSheet.PageSetup
        .CenterHorizontally = True
        .Orientation = xlPortrait
    End With
    ActiveWorkbook.CustomViews.Add ViewName:="123", PrintSettings:=False, _
        RowColSettings:=True
End Sub
#check
